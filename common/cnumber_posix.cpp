// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/cnumber.h"

#include <locale.h> // NOLINT(modernize-deprecated-headers): newlocale and locale_t are POSIX, not in <clocale>
#include <stdlib.h> // NOLINT(modernize-deprecated-headers): strtod_l is POSIX, not in <cstdlib>

double strtodInCLocale(const std::string &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}
