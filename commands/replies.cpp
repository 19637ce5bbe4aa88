// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commands/replies.h"

#include "common/lenientnumber.h"
#include "common/mod_functions.h"

#include <limits>

namespace Replies {

std::optional<qint16> toggledDirection(const QString &lastChunk)
{
    const QString reported = Mod_Functions::TextBetween(lastChunk, QStringLiteral("dir["), QStringLiteral("]"));
    const std::optional<qint16> current = LenientNumber::toInt16(LenientNumber::read(reported));
    if (!current)
        return std::nullopt;
    // 1 - n leaves 16 bits for n = -32767 and n = -32768.
    const int toggled = 1 - int(*current);
    if (toggled > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(toggled);
}

} // namespace Replies
