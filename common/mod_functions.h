// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The routine that reads a value out of a station's reply. Its companion,
// SelectAllOnFocus, is widget behaviour and lives with the window
// (window/selectallonfocus.h).

#include <QString>

namespace Mod_Functions {

// The text strictly between the first occurrence of `startMarker` and the
// first `endMarker` behind it; empty when either marker is missing.
QString TextBetween(const QString &source, const QString &startMarker, const QString &endMarker);

} // namespace Mod_Functions
