#pragma once

// The two routines the window and the actions share.

#include <QString>

class QLineEdit;

namespace Mod_Functions {

// The text strictly between the first occurrence of `startMarker` and the
// first `endMarker` behind it; empty when either marker is missing.
QString TextBetween(const QString &source, const QString &startMarker, const QString &endMarker);

// Selects the whole text of `box`, so the first key typed replaces it.
void SelectAllOnFocus(QLineEdit *box);

// Makes `box` select its whole text every time it gains the focus, by Tab or
// by a click alike.
void selectAllWhenFocused(QLineEdit *box);

} // namespace Mod_Functions
