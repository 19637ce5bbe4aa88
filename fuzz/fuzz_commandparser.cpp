// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulator's command parser and the station's reply on arbitrary
// command text: a command read as valid has a verb of letters and digits
// that starts with a letter; whatever the text, the reply is one whole
// block, "<REPLY echo>", object lines only on success, "<END code (text)>",
// every line ended by a line feed and the echo free of control bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "parsedcommand.h"
#include "replyblock.h"
#include "station.h"

namespace {

bool isLetter(char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

void checkReply(const QByteArray &reply, QByteArrayView command)
{
    const QByteArray head = "<REPLY " + ReplyBlock::printable(command) + ">\n";
    if (!reply.startsWith(head) || !reply.endsWith(")>\n"))
        std::abort();
    for (const char byte : head.first(head.size() - 1)) {
        if (uchar(byte) < 0x20 || byte == 0x7f)
            std::abort();
    }
    const qsizetype endLine = reply.lastIndexOf("<END ");
    if (endLine < head.size())
        std::abort();
    const QByteArray end = reply.sliced(endLine);
    const int code = end.at(5) - '0';
    if (code < 0 || code > 8)
        std::abort();
    if (end != "<END " + QByteArray::number(code) + " (" + ReplyBlock::statusText(ReplyStatus(code)) + ")>\n")
        std::abort();
    // Object lines come only with success, each one whole line.
    const QByteArray lines = reply.sliced(head.size(), endLine - head.size());
    if (code != 0 && !lines.isEmpty())
        std::abort();
    if (!lines.isEmpty() && !lines.endsWith('\n'))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));

    const ParsedCommand command = ParsedCommand::parse(text);
    if (command.isValid()) {
        const QByteArray &verb = command.verb();
        if (verb.isEmpty() || !isLetter(verb.front()))
            std::abort();
        for (const char byte : verb) {
            if (!isLetter(byte) && !(byte >= '0' && byte <= '9'))
                std::abort();
        }
        for (const ParsedCommand::Argument &argument : command.arguments()) {
            if (!argument.hasValues && !argument.values.isEmpty())
                std::abort();
        }
    }

    // Client 1 holds a locomotive and an accessory, so that changes reach
    // the objects; client 2 holds nothing and meets the other side of it.
    Station station;
    station.execute(1, "request(1000, control)");
    station.execute(1, "request(20000, control)");
    checkReply(station.execute(1, text), text);
    checkReply(station.execute(2, text), text);
    return 0;
}
