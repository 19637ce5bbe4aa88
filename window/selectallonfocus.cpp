// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/selectallonfocus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

namespace Mod_Functions {

void SelectAllOnFocus(QLineEdit *box)
{
    box->setSelection(0, box->text().size());
}

namespace {

// A click that gives a field the focus also places the cursor, which would
// undo the selection made on focus; so the selection is made again when
// that click is released.
class SelectAllFilter : public QObject
{
public:
    explicit SelectAllFilter(QLineEdit *box) : QObject(box) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = static_cast<QLineEdit *>(watched);
        switch (event->type()) {
        case QEvent::FocusIn:
            m_focusedByClick = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
            SelectAllOnFocus(box);
            break;
        case QEvent::MouseButtonRelease:
            if (m_focusedByClick) {
                m_focusedByClick = false;
                SelectAllOnFocus(box);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool m_focusedByClick = false;
};

// The line edit selects all on a focus gain by Tab, Shift+Tab or a shortcut,
// and on no other; so it is handed that focus gain under another reason.
class KeepCursorFilter : public QObject
{
public:
    explicit KeepCursorFilter(QLineEdit *box) : QObject(box) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason: {
            QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(watched, &plain);
            return true;
        }
        default:
            return false;
        }
    }
};

} // namespace

void selectAllWhenFocused(QLineEdit *box)
{
    box->installEventFilter(new SelectAllFilter(box));
}

void neverSelectWhenFocused(QLineEdit *box)
{
    box->installEventFilter(new KeepCursorFilter(box));
}

} // namespace Mod_Functions
