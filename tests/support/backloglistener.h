// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on 127.0.0.1 at the level of the system calls, so that its
// accept queue can be filled: a connection attempt beyond it is left
// unanswered (its SYN dropped), as by a station that answers too late.

#include <QtGlobal>

#include <vector>

namespace TestKit {

class BacklogListener
{
public:
    BacklogListener();
    ~BacklogListener();
    BacklogListener(const BacklogListener &) = delete;
    BacklogListener &operator=(const BacklogListener &) = delete;

    quint16 port() const { return m_port; }

    // Connects until one more attempt is not answered; that one is given up
    // so that it does not come back later. False if the queue never filled.
    bool fillQueue();
    // Accepts whatever waits in the queue; returns how many there were.
    int acceptAll();

private:
    int m_fd = -1;
    quint16 m_port = 0;
    std::vector<int> m_sockets;
};

} // namespace TestKit
