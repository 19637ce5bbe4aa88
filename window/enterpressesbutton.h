// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lets Enter and keypad Enter press the focused push button, as Space does:
// one press, one click. A push button outside a dialog answers Space only,
// and making it a default button would change its look. Enter in a text
// field still does nothing, as the window has no default button.

#include <QObject>

class QPushButton;

class EnterPressesButton : public QObject
{
public:
    // Watches `button`, which owns it.
    explicit EnterPressesButton(QPushButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_button = nullptr;
};
