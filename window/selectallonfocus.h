#pragma once

// The hint fields' behaviour: their whole text is selected whenever they
// gain the focus, so the first key typed replaces it.

class QLineEdit;

namespace Mod_Functions {

// Selects the whole text of `box`, so the first key typed replaces it.
void SelectAllOnFocus(QLineEdit *box);

// Makes `box` select its whole text every time it gains the focus, by Tab or
// by a click alike.
void selectAllWhenFocused(QLineEdit *box);

} // namespace Mod_Functions
