// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading the station's replies: the one value the panel takes back.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace Replies {

// The direction that reverses the one `lastChunk` reports in "dir[...]",
// read leniently: no direction, or none that reads as a number, counts as 0
// and gives 1. Nothing when the reported value or its reverse leaves 16 bits.
std::optional<qint16> toggledDirection(const QString &lastChunk);

} // namespace Replies
