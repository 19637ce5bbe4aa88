// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading a number out of free text the forgiving way the direction toggle
// needs: the station's reply is text, and a missing or odd value must still
// give a defined result rather than an error.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace LenientNumber {

// Blanks, tabs and line feeds are skipped wherever they stand; reading
// stops at the first character that cannot continue a decimal number
// (sign, digits, decimal point, exponent). No number at the start gives 0.
double read(const QString &text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when
// the result does not fit a 16-bit signed integer.
std::optional<qint16> toInt16(double value);

} // namespace LenientNumber
