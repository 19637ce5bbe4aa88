// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "socketsend.h"

#include <winsock2.h>

#include <climits>

// Qt keeps its sockets in non-blocking mode, and Windows raises no signal for
// a closed peer, so a plain send does what the flags do elsewhere.
qsizetype SocketSend::sendNow(qintptr descriptor, const char *data, qsizetype size)
{
    const int sent = ::send(SOCKET(descriptor), data, int(qMin<qsizetype>(size, INT_MAX)), 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

void SocketSend::shutdownSending(qintptr descriptor)
{
    ::shutdown(SOCKET(descriptor), SD_SEND);
}
