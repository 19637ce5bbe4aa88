// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Cuts one client's byte stream into commands. Commands carry no terminator:
// one runs from its verb to the ")" that closes its first "(", and a "(",
// ")" or "," inside square brackets or double quotes does not count. Blanks
// and line breaks between commands are skipped. A line break or a stray ")"
// before the first "(" ends the text as it stands, so text typed by hand
// without parentheses is answered instead of waiting forever.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class CommandSplitter
{
public:
    // Longer than any command a person or the panel sends, short enough that
    // a client streaming without ")" costs little memory.
    static constexpr qsizetype kDefaultLimit = 64 * 1024;

    explicit CommandSplitter(qsizetype limit = kDefaultLimit);

    // Takes the next bytes as they arrived, cut anywhere, and returns the
    // commands they complete, in order. Once overflowed it returns nothing.
    QList<QByteArray> feed(QByteArrayView bytes);

    // True once a command grew past the limit without ending: nothing after
    // it can be told apart from it, so the stream is given up.
    bool overflowed() const { return m_overflowed; }
    // The start of the unfinished command, never longer than the limit.
    const QByteArray &pending() const { return m_pending; }
    qsizetype limit() const { return m_limit; }

private:
    // Adds one byte; true when it ends the command held in m_pending.
    bool take(char byte);
    QByteArray finishPending();

    QByteArray m_pending;
    qsizetype m_limit;
    int m_parenDepth = 0;
    int m_bracketDepth = 0;
    bool m_inQuote = false;
    bool m_overflowed = false;
};
