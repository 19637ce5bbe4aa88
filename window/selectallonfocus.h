// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How a text field treats its text when it gains the focus: the hint fields
// select all of it, so the first key typed replaces it; the plain fields
// select nothing, so a key typed goes in at the cursor.

class QLineEdit;

namespace Mod_Functions {

// Selects the whole text of `box`, so the first key typed replaces it.
void SelectAllOnFocus(QLineEdit *box);

// Makes `box` select its whole text every time it gains the focus, by Tab,
// Shift+Tab or a click alike.
void selectAllWhenFocused(QLineEdit *box);

// Makes `box` keep its text unselected when Tab or Shift+Tab brings the
// focus, as a click does; a line edit would select all of it by itself.
void neverSelectWhenFocused(QLineEdit *box);

} // namespace Mod_Functions
