// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/enterpressesbutton.h"

#include <QKeyEvent>
#include <QPushButton>

EnterPressesButton::EnterPressesButton(QPushButton *button) : QObject(button), m_button(button)
{
    button->installEventFilter(this);
}

// The click comes on the press; the key held down clicks no more, and its
// release is taken too, so the button sees nothing else of the key.
bool EnterPressesButton::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    // click() does nothing on a disabled button.
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
        m_button->click();
    return true;
}
