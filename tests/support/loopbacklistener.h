// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A listening TCP socket on 127.0.0.1 at a free port, at the level of the
// system calls, for stations that run outside Qt's event loop.

#include <QtGlobal>

namespace TestKit {

struct LoopbackListener
{
    int fd = -1;
    quint16 port = 0;
};

// Listens with room for `backlog` pending connections; `flags` are added to
// the socket's type (SOCK_NONBLOCK). fd is -1 on failure.
LoopbackListener listenOnLoopback(int backlog, int flags = 0);

} // namespace TestKit
