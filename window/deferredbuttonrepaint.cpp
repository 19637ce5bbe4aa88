// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/deferredbuttonrepaint.h"

#include <QAbstractButton>
#include <QEvent>

void DeferredButtonRepaint::install(QWidget *window)
{
    auto *filter = new DeferredButtonRepaint(window);
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        button->installEventFilter(filter);
}

// Updates are held off while the button handles the event; turning them back
// on at the next pass schedules one ordinary repaint of the whole button, so
// nothing the button wanted drawn is lost.
bool DeferredButtonRepaint::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *button = static_cast<QWidget *>(watched);
        if (button->updatesEnabled()) {
            button->setUpdatesEnabled(false);
            QMetaObject::invokeMethod(
                    button, [button] { button->setUpdatesEnabled(true); }, Qt::QueuedConnection);
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
