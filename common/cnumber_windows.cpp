// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/cnumber.h"

#include <locale.h> // NOLINT(modernize-deprecated-headers): _create_locale and _locale_t are Microsoft's, not in <clocale>
#include <stdlib.h> // NOLINT(modernize-deprecated-headers): _strtod_l is Microsoft's, not in <cstdlib>

double strtodInCLocale(const std::string &text)
{
    static const auto cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(text.c_str(), nullptr, cLocale);
}
