// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulator's stream splitter on arbitrary bytes, cut into pieces of
// arbitrary size: the commands do not depend on where the stream was cut;
// each is a non-empty piece of the stream, in order, without blanks at its
// ends and never longer than the limit; nothing is held past the limit.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "commandsplitter.h"

namespace {

// The blanks that may stand between commands.
bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte gives the limit, small so that the fuzzer reaches it;
    // the second the size of the pieces.
    if (size < 2)
        return 0;
    const qsizetype limit = 1 + data[0];
    const qsizetype step = 1 + data[1] % 16;
    const QByteArrayView stream(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    CommandSplitter whole(limit);
    const QList<QByteArray> commands = whole.feed(stream);

    CommandSplitter cut(limit);
    QList<QByteArray> pieced;
    for (qsizetype at = 0; at < stream.size(); at += step)
        pieced += cut.feed(stream.sliced(at, qMin(step, stream.size() - at)));
    if (pieced != commands || cut.pending() != whole.pending() || cut.overflowed() != whole.overflowed())
        std::abort();

    qsizetype from = 0;
    for (const QByteArray &command : commands) {
        if (command.isEmpty() || command.size() > limit || isBlank(command.front()) || isBlank(command.back()))
            std::abort();
        const qsizetype at = stream.indexOf(command, from);
        if (at < 0)
            std::abort();
        from = at + command.size();
    }
    if (whole.pending().size() > limit || (whole.overflowed() && whole.pending().size() != limit))
        std::abort();
    return 0;
}
