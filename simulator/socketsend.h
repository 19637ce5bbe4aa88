// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The two calls a session makes on its socket's descriptor past Qt: handing
// bytes to the system without waiting, and shutting only the sending side.
// Each platform has a file of its own for them; they behave alike.

#include <QtGlobal>

namespace SocketSend {

// Hands up to `size` bytes to the system at once, never blocking and never
// raising a signal for a connection the peer has closed. Returns how many
// it took, or -1 when it took none.
qsizetype sendNow(qintptr descriptor, const char *data, qsizetype size);

// Shuts the sending side only: the peer reads to the end and sees the close,
// while what it still sends can be read.
void shutdownSending(qintptr descriptor);

} // namespace SocketSend
