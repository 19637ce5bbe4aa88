// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "parsedcommand.h"

#include <optional>

namespace {

bool isLetter(char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

// Splits at every `separator` that sits outside quotes, brackets and
// parentheses; nothing when those do not pair up.
std::optional<QList<QByteArrayView>> splitTopLevel(QByteArrayView text, char separator)
{
    QList<QByteArrayView> parts;
    qsizetype start = 0;
    int depth = 0;
    bool inQuote = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (inQuote) {
            inQuote = byte != '"';
        } else if (byte == '"') {
            inQuote = true;
        } else if (byte == '[' || byte == '(') {
            ++depth;
        } else if (byte == ']' || byte == ')') {
            if (--depth < 0)
                return std::nullopt;
        } else if (byte == separator && depth == 0) {
            parts.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    if (inQuote || depth != 0)
        return std::nullopt;
    parts.append(text.sliced(start));
    return parts;
}

QByteArray unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.sliced(1, value.size() - 2).toByteArray();
    return value.toByteArray();
}

std::optional<ParsedCommand::Argument> parseArgument(QByteArrayView text)
{
    ParsedCommand::Argument argument;
    const qsizetype open = text.indexOf('[');
    if (open < 0) {
        argument.name = text.toByteArray();
        return argument;
    }
    // The bracket must close at the very end: "func[3, 1]x" is not an argument.
    if (!text.endsWith(']'))
        return std::nullopt;
    const auto values = splitTopLevel(text.sliced(open + 1, text.size() - open - 2), ',');
    if (!values)
        return std::nullopt;
    argument.name = text.first(open).trimmed().toByteArray();
    argument.hasValues = true;
    for (const QByteArrayView value : *values)
        argument.values.append(unquoted(value.trimmed()));
    return argument;
}

} // namespace

ParsedCommand ParsedCommand::parse(QByteArrayView text)
{
    ParsedCommand command;
    const QByteArrayView whole = text.trimmed();
    qsizetype verbEnd = 0;
    while (verbEnd < whole.size() && (isLetter(whole[verbEnd]) || (verbEnd > 0 && isDigit(whole[verbEnd]))))
        ++verbEnd;
    const QByteArrayView rest = whole.sliced(verbEnd).trimmed();
    if (verbEnd == 0 || !rest.startsWith('(') || !rest.endsWith(')') || rest.size() < 2)
        return command;
    command.m_verb = whole.first(verbEnd).toByteArray();
    command.m_valid = command.parseArguments(rest.sliced(1, rest.size() - 2));
    return command;
}

bool ParsedCommand::parseArguments(QByteArrayView inner)
{
    if (inner.trimmed().isEmpty())
        return true;
    const auto parts = splitTopLevel(inner, ',');
    if (!parts)
        return false;
    for (const QByteArrayView part : *parts) {
        const auto argument = parseArgument(part.trimmed());
        if (!argument)
            return false;
        m_arguments.append(*argument);
    }
    return true;
}
