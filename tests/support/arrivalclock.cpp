// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "arrivalclock.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

using namespace TestKit;

namespace {
// Waits up to 100 ms for `fd` to be readable, so that the thread notices
// when it is told to stop.
bool readable(int fd)
{
    pollfd wanted{fd, POLLIN, 0};
    return ::poll(&wanted, 1, 100) > 0;
}
} // namespace

ArrivalClock::ArrivalClock(const QList<qsizetype> &pieceSizes) : m_sizes(pieceSizes)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(m_listener, 1);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

ArrivalClock::~ArrivalClock()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

QList<ArrivalClock::Piece> ArrivalClock::pieces() const
{
    const std::lock_guard lock(m_mutex);
    return m_pieces;
}

void ArrivalClock::run()
{
    while (!m_stop && !readable(m_listener)) {}
    if (m_stop)
        return;
    const int client = ::accept(m_listener, nullptr, nullptr);
    const int on = 1;
    ::setsockopt(client, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    for (const qsizetype size : m_sizes) {
        Piece piece;
        while (piece.bytes.size() < size && !m_stop) {
            if (!readable(client))
                continue;
            char buffer[4096];
            iovec part{buffer, size_t(qMin<qsizetype>(size - piece.bytes.size(), sizeof buffer))};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
            msghdr message{};
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t got = ::recvmsg(client, &message, 0);
            if (got <= 0) {
                m_stop = true;
                break;
            }
            for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS && piece.bytes.isEmpty()) {
                    timespec at;
                    std::memcpy(&at, CMSG_DATA(c), sizeof at);
                    piece.arrivedNs = qint64(at.tv_sec) * 1000000000 + at.tv_nsec;
                }
            }
            piece.bytes.append(buffer, got);
        }
        if (piece.bytes.size() < size)
            break;
        const std::lock_guard lock(m_mutex);
        m_pieces.append(piece);
    }
    ::close(client);
}
