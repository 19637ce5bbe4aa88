#include "replyblock.h"

ReplyBlock::ReplyBlock(QByteArrayView command) : m_text("<REPLY " + printable(command) + ">\n") {}

void ReplyBlock::addLine(const QByteArray &objectLine)
{
    m_text += objectLine + '\n';
}

QByteArray ReplyBlock::finished(ReplyStatus status) const
{
    return m_text + "<END " + QByteArray::number(int(status)) + " (" + statusText(status) + ")>\n";
}

QByteArray ReplyBlock::statusText(ReplyStatus status)
{
    switch (status) {
    case ReplyStatus::Ok:
        return "OK";
    case ReplyStatus::UnknownCommand:
        return "unknown command";
    case ReplyStatus::SyntaxError:
        return "syntax error";
    case ReplyStatus::UnknownObject:
        return "unknown object";
    case ReplyStatus::BadAttribute:
        return "bad attribute";
    case ReplyStatus::BadValue:
        return "bad value";
    case ReplyStatus::ControlNotHeld:
        return "control not held";
    case ReplyStatus::ControlHeldElsewhere:
        return "control held by another client";
    case ReplyStatus::CommandTooLong:
        return "command too long";
    }
    return "unknown status";
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
