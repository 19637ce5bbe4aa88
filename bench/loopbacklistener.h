// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A listening TCP socket on 127.0.0.1 at a free port, for the benchmark's
// stations that run on threads of their own, outside Qt's event loop.

#include <cstdint>

struct LoopbackListener
{
    int fd = -1;
    std::uint16_t port = 0;
};

// Listens with room for `backlog` pending connections; fd is -1 on failure.
LoopbackListener listenOnLoopback(int backlog);
