// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/selectallonfocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

#include <utility>

namespace Mod_Functions {

void SelectAllOnFocus(QLineEdit *box)
{
    box->setSelection(0, box->text().size());
}

} // namespace Mod_Functions

SelectAllWhenFocused::SelectAllWhenFocused(QLineEdit *box) : QObject(box), m_box(box)
{
    box->installEventFilter(this);
}

// A click that gives a field the focus also places the cursor, which would
// undo the selection made on focus; so the selection is made again when
// that click is released.
bool SelectAllWhenFocused::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        focusGained(static_cast<QFocusEvent *>(event)->reason());
        break;
    case QEvent::MouseButtonRelease:
        if (std::exchange(m_focusedByClick, false))
            Mod_Functions::SelectAllOnFocus(m_box);
        break;
    default:
        break;
    }
    return false;
}

void SelectAllWhenFocused::focusGained(Qt::FocusReason reason)
{
    m_focusedByClick = reason == Qt::MouseFocusReason;
    if (reason != Qt::PopupFocusReason)
        Mod_Functions::SelectAllOnFocus(m_box);
}
