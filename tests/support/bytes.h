// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Byte strings tests feed to the panel and the simulator.

#include <QByteArray>

namespace TestKit {

// Every byte from `first` to `last`, in order.
QByteArray byteRange(int first = 0x00, int last = 0xFF);
// `size` bytes that look random but are the same for the same `seed`.
QByteArray randomBytes(qsizetype size, quint32 seed);

} // namespace TestKit
