// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "backloglistener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loopbacklistener.h"

using namespace TestKit;

BacklogListener::BacklogListener()
{
    const LoopbackListener listener = listenOnLoopback(0, SOCK_NONBLOCK);
    m_fd = listener.fd;
    m_port = listener.port;
}

BacklogListener::~BacklogListener()
{
    for (const int fd : m_sockets)
        ::close(fd);
    ::close(m_fd);
}

bool BacklogListener::fillQueue()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_port);
    for (int i = 0; i < 16; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        pollfd connected{fd, POLLOUT, 0};
        if (::poll(&connected, 1, 300) <= 0) {
            ::close(fd);
            return !m_sockets.empty();
        }
        m_sockets.push_back(fd);
    }
    return false;
}

int BacklogListener::acceptAll()
{
    int accepted = 0;
    for (int fd; (fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0; ++accepted)
        m_sockets.push_back(fd);
    return accepted;
}
