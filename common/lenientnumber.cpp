// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/lenientnumber.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

#include "common/cnumber.h"

namespace LenientNumber {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The longest leading run of `text` (skipped characters removed) that reads
// as a decimal number, in the C locale's spelling.
std::string numberPrefix(const QString &text)
{
    std::string out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto peek = [&]() -> QChar {
        while (i < n && isSkipped(text[i]))
            ++i;
        return i < n ? text[i] : QChar();
    };

    if (QChar c = peek(); c == u'+' || c == u'-') {
        out += char(c.unicode());
        ++i;
    }
    bool mantissaDigits = false;
    while (isDigit(peek())) {
        out += char(text[i++].unicode());
        mantissaDigits = true;
    }
    if (peek() == u'.') {
        out += '.';
        ++i;
        while (isDigit(peek())) {
            out += char(text[i++].unicode());
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits)
        return {};

    if (QChar c = peek(); c == u'e' || c == u'E' || c == u'd' || c == u'D') {
        std::string exponent = "e";
        ++i;
        if (QChar s = peek(); s == u'+' || s == u'-') {
            exponent += char(s.unicode());
            ++i;
        }
        bool exponentDigits = false;
        while (isDigit(peek())) {
            exponent += char(text[i++].unicode());
            exponentDigits = true;
        }
        if (exponentDigits)
            out += exponent;
    }
    return out;
}

} // namespace

double read(const QString &text)
{
    const std::string prefix = numberPrefix(text);
    if (prefix.empty())
        return 0.0;
    // Parsed in the C locale whatever the process locale (Qt sets it from the
    // environment); an overflow gives an infinity, an underflow zero.
    return strtodInCLocale(prefix);
}

std::optional<qint16> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const int previousMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previousMode);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace LenientNumber
