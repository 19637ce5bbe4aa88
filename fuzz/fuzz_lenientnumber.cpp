// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The direction toggle's number reading on arbitrary reply text: it never
// crashes, and a value it accepts is the rounded reading, inside 16 bits.

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/lenientnumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = LenientNumber::read(text);
    if (std::isnan(value))
        std::abort();
    const std::optional<qint16> n = LenientNumber::toInt16(value);
    if (n) {
        if (std::abs(double(*n) - value) > 0.5)
            std::abort();
    } else if (std::isfinite(value) && std::abs(value) < 32767.0) {
        std::abort();
    }
    return 0;
}
