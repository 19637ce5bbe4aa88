// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/shape.h"

#include <QAccessible>
#include <QPainter>

Shape::Shape(QRgb borderColor, int borderWidth, QRgb fillColor, QWidget *parent)
    : QWidget(parent), m_borderColor(borderColor), m_borderWidth(borderWidth), m_fillColor(fillColor)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Shape::setFillColor(QRgb color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    update();
    // A screen reader reads whether the lamp is lit from its description.
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

// The border lies inside the box, so the lamp never paints beyond its size.
void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(m_borderColor));
    painter.fillRect(rect().adjusted(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth),
                     QColor::fromRgb(m_fillColor));
}
