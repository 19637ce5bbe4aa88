// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the panel writes numbers: plain decimal on the wire, and with a sign
// position (a blank where a minus would stand) on screen.

#include <QString>
#include <QtGlobal>

namespace NumberText {

// Digits only, with a leading "-" when negative: "42", "0", "-5".
inline QString plainDecimal(qint64 value)
{
    return QString::number(value);
}

// A blank before the digits for zero and positive values: " 42", "-5".
inline QString withSignPosition(qint64 value)
{
    return value < 0 ? plainDecimal(value) : QLatin1Char(' ') + plainDecimal(value);
}

} // namespace NumberText
