// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "socketsend.h"

#include <sys/socket.h>

qsizetype SocketSend::sendNow(qintptr descriptor, const char *data, qsizetype size)
{
    return ::send(int(descriptor), data, std::size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
}

void SocketSend::shutdownSending(qintptr descriptor)
{
    ::shutdown(int(descriptor), SHUT_WR);
}
