// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/neverselectwhenfocused.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

NeverSelectWhenFocused::NeverSelectWhenFocused(QLineEdit *box) : QObject(box), m_box(box)
{
    box->installEventFilter(this);
}

// The line edit selects all on a focus gain by Tab, Shift+Tab or a shortcut,
// and on no other; so it is handed that focus gain under another reason.
bool NeverSelectWhenFocused::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return false;
    switch (static_cast<QFocusEvent *>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: {
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(m_box, &plain);
        return true;
    }
    default:
        return false;
    }
}
