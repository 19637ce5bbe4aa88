// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/deferredbuttonrepaint.h"

#include <QAbstractButton>
#include <QEvent>

DeferredButtonRepaint::DeferredButtonRepaint(QAbstractButton *button) : QObject(button), m_button(button)
{
    button->installEventFilter(this);
}

// Updates are held off while the button handles the event; turning them back
// on at the next pass schedules one ordinary repaint of the whole button, so
// nothing the button wanted drawn is lost.
bool DeferredButtonRepaint::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (m_button->updatesEnabled()) {
            m_button->setUpdatesEnabled(false);
            QMetaObject::invokeMethod(
                    m_button, [button = m_button] { button->setUpdatesEnabled(true); }, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return false;
}
