// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/outputtext.h"

namespace {
// Few enough that the block on screen is laid out quickly, enough that a
// long reply makes few blocks.
constexpr int kLinesPerBlock = 16;
} // namespace

QString OutputText::inBlocks(const QString &received)
{
    QString text(received.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const QChar *in = received.constData();
    const QChar *const end = in + received.size();
    int breaks = 0;
    while (in != end) {
        const QChar c = *in++;
        if (c != u'\n' && c != u'\r') {
            *out++ = c;
            continue;
        }
        // CR LF is one line break, as the box reads it; a lone CR is one too.
        const bool crlf = c == u'\r' && in != end && *in == u'\n';
        if (++breaks % kLinesPerBlock != 0) {
            *out++ = QChar::LineSeparator;
            in += crlf;
            continue;
        }
        *out++ = c;
        if (crlf)
            *out++ = *in++;
    }
    text.truncate(out - text.constData());
    return text;
}

QString OutputText::asReply(QString shown)
{
    for (QChar &c : shown) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return shown;
}
