// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "backloglistener.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace TestKit;

BacklogListener::BacklogListener()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    m_address.sin_family = AF_INET;
    m_address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_fd, reinterpret_cast<sockaddr *>(&m_address), sizeof m_address);
    ::listen(m_fd, 0);
    socklen_t length = sizeof m_address;
    ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&m_address), &length);
}

BacklogListener::~BacklogListener()
{
    for (const int fd : m_sockets)
        ::close(fd);
    ::close(m_fd);
}

quint16 BacklogListener::port() const
{
    return ntohs(m_address.sin_port);
}

bool BacklogListener::fillQueue()
{
    for (int i = 0; i < 16; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(fd, reinterpret_cast<const sockaddr *>(&m_address), sizeof m_address);
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
    for (int fd; (fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK)) >= 0; ++accepted)
        m_sockets.push_back(fd);
    return accepted;
}
