// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Byte strings tests feed to the panel and the simulator, and what is
// read back from the bytes a station received.

#include <QByteArray>
#include <QList>

namespace TestKit {

// Every byte from `first` to `last`, in order.
QByteArray byteRange(int first = 0x00, int last = 0xFF);
// `size` bytes that look random but are the same for the same `seed`.
QByteArray randomBytes(qsizetype size, quint32 seed);
// The speeds of every set-speed command for locomotive `loco` in `wire`.
QList<int> speedsIn(const QByteArray &wire, const QByteArray &loco);

} // namespace TestKit
