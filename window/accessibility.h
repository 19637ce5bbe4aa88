// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader announces for the window's controls: a name for every
// control that takes input or shows state, the lamps as indicators that say
// whether they are lit, and the clickable power labels as buttons. Nothing
// of it is visible: no caption, tool tip or layout changes.

#include <QString>

class Main;

namespace Accessibility {

// The state a lamp reports, in the window's language.
inline const QString kLit = QStringLiteral("encendida");
inline const QString kDark = QStringLiteral("apagada");

// Registers the accessible interfaces of the window's own control kinds.
// Call before the first control is made: with a screen reader listening, Qt
// makes a control's interface as the control is made, and keeps it.
void registerControlKinds();

// Names the window's controls. Call before the window is first shown.
void describe(Main &window);

} // namespace Accessibility
