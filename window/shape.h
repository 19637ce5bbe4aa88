// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A rectangle with a coloured border and a solid fill: the power lamps and
// the S88 indicators. It takes no input; clicks pass through to what lies
// beneath. The fill colour reads back exactly as it was set, because the
// power operations compare whole colour values.

#include <QRgb>
#include <QWidget>

class Shape : public QWidget
{
    Q_OBJECT

public:
    Shape(QRgb borderColor, int borderWidth, QRgb fillColor, QWidget *parent = nullptr);

    QRgb borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }
    QRgb fillColor() const { return m_fillColor; }
    void setFillColor(QRgb color);
    // Lit means the fill shines in the border's colour; any other fill is dark.
    bool isLit() const { return m_fillColor == m_borderColor; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRgb m_borderColor;
    int m_borderWidth;
    QRgb m_fillColor;
};
