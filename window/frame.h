// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A panel of the window: a group box whose caption is set in the window's
// font in bold and may have a colour of its own. A disabled panel greys its
// caption; the controls inside take no input.

#include <QColor>
#include <QGroupBox>

class Frame : public QGroupBox
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption = QString(), QWidget *parent = nullptr);

    // Invalid means the default text colour.
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);

    QFont captionFont() const;
    // Where the caption is drawn on the top border; empty without a caption.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QColor captionPenColor() const;

    QColor m_captionColor;
    // Measured once per caption and font: a control inside the panel that
    // repaints (a button pressed) repaints the panel beneath it as well.
    mutable QRect m_captionRect;
    mutable QString m_measuredTitle;
    mutable bool m_captionMeasured = false;
};
