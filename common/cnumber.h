// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reads the number at the start of `text` as the C library's strtod does in
// the C locale, whatever the process's locale (Qt sets that from the
// environment): an overflow gives an infinity, an underflow zero. Each
// platform's C library names that call its own way, in a file of its own.

#include <string>

double strtodInCLocale(const std::string &text);
