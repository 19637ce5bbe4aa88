// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The hint fields select all of their text when they gain the focus, so the
// first key typed replaces the hint or the last value.

#include <QObject>

class QLineEdit;

namespace Mod_Functions {

// Selects the whole text of `box`, so the first key typed replaces it.
void SelectAllOnFocus(QLineEdit *box);

} // namespace Mod_Functions

// Makes a field select its whole text every time it gains the focus, by Tab,
// Shift+Tab or a click alike. A focus that comes back from a popup, such as
// the field's own context menu, was only lent: the text, the cursor and the
// operator's selection stay as they were, so the menu's Paste goes in at the
// cursor.
class SelectAllWhenFocused : public QObject
{
public:
    // Watches `box`, which owns it.
    explicit SelectAllWhenFocused(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusGained(Qt::FocusReason reason);

    QLineEdit *m_box = nullptr;
    bool m_focusedByClick = false;
};
