// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "powerlamp.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

using namespace Qt::StringLiterals;

namespace {

const QColor kDark(70, 80, 70);

// Read as text that tells its name and whether the power is on.
class PowerLampAccessible : public QAccessibleWidget
{
public:
    explicit PowerLampAccessible(QWidget *lamp) : QAccessibleWidget(lamp, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return static_cast<const PowerLamp *>(widget())->stateText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *lampFactory(const QString &className, QObject *object)
{
    if (className == "PowerLamp"_L1 && object->isWidgetType())
        return new PowerLampAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

PowerLamp::PowerLamp(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(lampFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(u"Track power"_s);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PowerLamp::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

QString PowerLamp::stateText() const
{
    return m_on ? u"on"_s : u"off"_s;
}

// Everything in units of the font's line, so the lamp grows with the font
// and the screen's scale.
QSize PowerLamp::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const int words = metrics.horizontalAdvance(accessibleName() + u": off"_s);
    return QSize(2 * line + words + line / 2, 2 * line);
}

void PowerLamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int line = fontMetrics().height();
    const QRectF disc(line * 0.25, line * 0.25, line * 1.5, line * 1.5);
    painter.setPen(QPen(palette().color(QPalette::WindowText), line / 10.0));
    painter.setBrush(m_on ? QColor(kLitGreen) : kDark);
    painter.drawEllipse(disc);
    const QRect words = rect().adjusted(2 * line, 0, 0, 0);
    painter.drawText(words, Qt::AlignVCenter | Qt::AlignLeft, accessibleName() + u": "_s + stateText());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
