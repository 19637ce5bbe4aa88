// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/mod_functions.h"

namespace Mod_Functions {

QString TextBetween(const QString &source, const QString &startMarker, const QString &endMarker)
{
    // qsizetype positions: a source of any length is searched correctly.
    const qsizetype start = source.indexOf(startMarker, 0, Qt::CaseSensitive);
    if (start < 0)
        return {};
    const qsizetype valueStart = start + startMarker.size();
    const qsizetype end = source.indexOf(endMarker, valueStart, Qt::CaseSensitive);
    if (end < 0)
        return {};
    return source.mid(valueStart, end - valueStart);
}

} // namespace Mod_Functions
