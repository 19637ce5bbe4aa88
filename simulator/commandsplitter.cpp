// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandsplitter.h"

namespace {

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// Room kept from one command to the next: a command of the usual size
// costs no allocation of its own, and an idle client holds little.
constexpr qsizetype kKeptCapacity = 256;

bool isLineBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

} // namespace

CommandSplitter::CommandSplitter(qsizetype limit) : m_limit(limit) {}

QList<QByteArray> CommandSplitter::feed(QByteArrayView bytes)
{
    QList<QByteArray> commands;
    for (const char byte : bytes) {
        if (m_overflowed)
            break;
        if (m_pending.isEmpty() && isBlank(byte))
            continue;
        if (take(byte))
            commands.append(finishPending());
    }
    return commands;
}

bool CommandSplitter::take(char byte)
{
    if (m_pending.size() >= m_limit) {
        m_overflowed = true;
        return false;
    }
    m_pending.append(byte);

    if (m_inQuote) {
        m_inQuote = byte != '"';
        return false;
    }
    if (byte == '"') {
        m_inQuote = true;
        return false;
    }
    if (m_bracketDepth > 0) {
        if (byte == '[')
            ++m_bracketDepth;
        else if (byte == ']')
            --m_bracketDepth;
        return false;
    }
    switch (byte) {
    case '[':
        ++m_bracketDepth;
        return false;
    case '(':
        ++m_parenDepth;
        return false;
    case ')':
        // Before any "(" the text cannot become a command any more.
        if (m_parenDepth == 0)
            return true;
        --m_parenDepth;
        return m_parenDepth == 0;
    default:
        return m_parenDepth == 0 && isLineBreak(byte);
    }
}

QByteArray CommandSplitter::finishPending()
{
    // Only the blanks skipped before a command are trimmed after it: a
    // command that starts with another control byte, such as a form feed,
    // is kept, so that no command is ever empty.
    qsizetype end = m_pending.size();
    while (end > 0 && isBlank(m_pending.at(end - 1)))
        --end;
    QByteArray command = m_pending.first(end);
    // The next command reuses the room of this one, unless that was large.
    if (m_pending.capacity() > kKeptCapacity)
        m_pending.clear();
    else
        m_pending.resize(0);
    m_parenDepth = 0;
    m_bracketDepth = 0;
    m_inQuote = false;
    return command;
}
