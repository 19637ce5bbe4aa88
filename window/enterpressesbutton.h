// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lets Enter and keypad Enter press the focused push button, as Space does:
// one press, one click. A push button outside a dialog answers Space only,
// and making it a default button would change its look. Enter in a text
// field still does nothing, as the window has no default button.

#include <QObject>

class QWidget;

class EnterPressesButton : public QObject
{
    Q_OBJECT

public:
    // Applies to every push button inside `window`; owned by `window`.
    static void install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
