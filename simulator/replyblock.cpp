// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "replyblock.h"

namespace {

// Room for the "<END ...>" line whatever its status.
constexpr qsizetype kEndLineRoom = 48;

} // namespace

// Built in place, in one allocation when it has no object lines: a reply is
// built for every command, so its temporaries were part of every command's
// cost.
ReplyBlock::ReplyBlock(QByteArrayView command)
{
    const QByteArray shown = printable(command);
    m_text.reserve(shown.size() + 2 * kEndLineRoom);
    m_text.append("<REPLY ").append(shown).append(">\n");
}

void ReplyBlock::addLine(const QByteArray &objectLine)
{
    m_text.append(objectLine).append('\n');
}

// In place, in the room the constructor left for it: the text is not
// copied again.
QByteArray ReplyBlock::finished(ReplyStatus status)
{
    m_text.append("<END ").append(QByteArray::number(int(status))).append(" (");
    return m_text.append(statusText(status)).append(")>\n");
}

QByteArray ReplyBlock::statusText(ReplyStatus status)
{
    switch (status) {
    case ReplyStatus::Ok:
        return QByteArrayLiteral("OK");
    case ReplyStatus::UnknownCommand:
        return QByteArrayLiteral("unknown command");
    case ReplyStatus::SyntaxError:
        return QByteArrayLiteral("syntax error");
    case ReplyStatus::UnknownObject:
        return QByteArrayLiteral("unknown object");
    case ReplyStatus::BadAttribute:
        return QByteArrayLiteral("bad attribute");
    case ReplyStatus::BadValue:
        return QByteArrayLiteral("bad value");
    case ReplyStatus::ControlNotHeld:
        return QByteArrayLiteral("control not held");
    case ReplyStatus::ControlHeldElsewhere:
        return QByteArrayLiteral("control held by another client");
    case ReplyStatus::CommandTooLong:
        return QByteArrayLiteral("command too long");
    }
    return QByteArrayLiteral("unknown status");
}

QByteArray ReplyBlock::printable(QByteArrayView command)
{
    QByteArray line = command.first(qMin(command.size(), kEchoLimit)).toByteArray();
    for (char &byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7f)
            byte = '?';
    }
    if (command.size() > kEchoLimit)
        line += "...";
    return line;
}
