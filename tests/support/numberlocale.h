// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Puts the whole process into a locale as the programs meet it when the
// user's is taken at start (Qt does so from the environment): the C
// library's, for what reads numbers through it, and Qt's default. The
// decimal-comma one is Spain's Spanish, which writes one and a half "1,5".
// Where the machine has no such locale, it is made with localedef (its
// sources are Debian's `locales`) into a folder of the process's own, found
// through LOCPATH, so nothing needs to be installed system-wide.

#include <QString>

namespace TestKit {

enum class NumberLocale { C, DecimalComma };

// Empty once the process is in `locale`; otherwise why it could not be.
QString useNumberLocale(NumberLocale locale);

// A test whose every table runs in the C locale and again in the
// decimal-comma one: the rows of its global table, added from its
// initTestCase_data(), and, from its init(), the process put into the
// current row's locale (the test fails where it cannot be).
void addNumberLocaleRows();
void enterRowsNumberLocale();

} // namespace TestKit
