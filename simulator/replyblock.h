// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One reply as the station writes it: "<REPLY command>", the object lines,
// then "<END code (text)>", every line ending in a line feed.

#include <QByteArray>
#include <QByteArrayView>

enum class ReplyStatus : quint8 {
    Ok = 0,
    UnknownCommand = 1,
    SyntaxError = 2,
    UnknownObject = 3,
    BadAttribute = 4,
    BadValue = 5,
    ControlNotHeld = 6,
    ControlHeldElsewhere = 7,
    CommandTooLong = 8,
};

class ReplyBlock
{
public:
    // The most of a command echoed back or printed; longer ones are cut.
    static constexpr qsizetype kEchoLimit = 200;

    explicit ReplyBlock(QByteArrayView command);

    void addLine(const QByteArray &objectLine);
    // Ends the block with its "<END ...>" line and returns it; the block
    // takes no more after that.
    QByteArray finished(ReplyStatus status);

    static QByteArray statusText(ReplyStatus status);
    // The command as one printable line: control bytes become "?" so that
    // garbage cannot break the reply's line structure or the console, and
    // anything past kEchoLimit becomes "...".
    static QByteArray printable(QByteArrayView command);

private:
    QByteArray m_text;
};
