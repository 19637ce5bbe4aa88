// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bytes.h"

#include <QRandomGenerator>

QByteArray TestKit::byteRange(int first, int last)
{
    QByteArray bytes;
    for (int b = first; b <= last; ++b)
        bytes += char(b);
    return bytes;
}

QByteArray TestKit::randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QList<int> TestKit::speedsIn(const QByteArray &wire, const QByteArray &loco)
{
    QList<int> speeds;
    const QByteArray head = "set(" + loco + ", speed[";
    for (qsizetype at = 0; (at = wire.indexOf(head, at)) >= 0;) {
        at += head.size();
        speeds << wire.mid(at, wire.indexOf("])", at) - at).toInt();
    }
    return speeds;
}
