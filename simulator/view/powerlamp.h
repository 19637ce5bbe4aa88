// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The track power as a lamp: a disc drawn at any size and density, lit green
// when the power is on, dark when it is off, with the word beside it. It can
// take the keyboard focus, and a screen reader reads its name and state.

#include <QRgb>
#include <QWidget>

class PowerLamp : public QWidget
{
    Q_OBJECT

public:
    // The green of a lit lamp, the track power's and an accessory's alike.
    static constexpr QRgb kLitGreen = qRgb(40, 200, 60);

    explicit PowerLamp(QWidget *parent = nullptr);

    void setOn(bool on);
    // The word shown beside the lamp and read out as its state.
    QString stateText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_on = false;
};
