// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// TextBetween on arbitrary source and markers: the result is always the
// text between the first start marker and the first end marker behind it.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/mod_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first two bytes give the lengths of the two markers; the rest is
    // the source, so the fuzzer shapes all three.
    if (size < 2)
        return 0;
    const size_t startLength = data[0] % 8;
    const size_t endLength = data[1] % 8;
    data += 2;
    size -= 2;
    if (startLength + endLength > size)
        return 0;
    const auto text = [](const uint8_t *bytes, size_t length) {
        return QString::fromLatin1(reinterpret_cast<const char *>(bytes), qsizetype(length));
    };
    const QString start = text(data, startLength);
    const QString end = text(data + startLength, endLength);
    const QString source = text(data + startLength + endLength, size - startLength - endLength);

    const QString result = Mod_Functions::TextBetween(source, start, end);

    const qsizetype at = source.indexOf(start);
    if (at < 0 || source.indexOf(end, at + start.size()) < 0) {
        if (!result.isEmpty())
            std::abort();
        return 0;
    }
    const qsizetype valueStart = at + start.size();
    if (source.mid(valueStart, result.size()) != result)
        std::abort();
    if (source.indexOf(end, valueStart) != valueStart + result.size())
        std::abort();
    return 0;
}
