// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "loopbacksink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "firstpaint.h"
#include "loopbacklistener.h"

LoopbackSink::LoopbackSink()
{
    const LoopbackListener listener = listenOnLoopback(kMaxConnections);
    m_listenFd = listener.fd;
    m_port = listener.port;
    ::pipe(m_wakeFd);
    m_thread = std::thread([this] { run(); });
}

LoopbackSink::~LoopbackSink()
{
    const char stop = 0;
    (void)::write(m_wakeFd[1], &stop, 1);
    m_thread.join();
    for (Connection &connection : m_connections)
        if (connection.fd >= 0)
            ::close(connection.fd);
    ::close(m_listenFd);
    ::close(m_wakeFd[0]);
    ::close(m_wakeFd[1]);
}

void LoopbackSink::run()
{
    char buffer[64 * 1024];
    for (;;) {
        std::vector<pollfd> watched = {{m_wakeFd[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        const int count = m_connectionCount.load();
        for (int i = 0; i < count; ++i)
            watched.push_back({m_connections[i].fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents)
            return;
        if ((watched[1].revents & POLLIN) && count < kMaxConnections) {
            const int fd = ::accept(m_listenFd, nullptr, nullptr);
            if (fd >= 0) {
                m_connections[count].fd = fd;
                m_connectionCount.store(count + 1);
            }
        }
        for (int i = 0; i < count; ++i) {
            if (!(watched[2 + i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::recv(m_connections[i].fd, buffer, sizeof buffer, MSG_DONTWAIT);
            const qint64 now = monotonicNanoseconds();
            if (got <= 0) {
                if (got == 0) {
                    ::close(m_connections[i].fd);
                    m_connections[i].fd = -1;
                }
                continue;
            }
            {
                std::lock_guard lock(m_bytesLock);
                m_connections[i].bytes.append(buffer, got);
            }
            m_connections[i].lastArrivalNs.store(now);
            m_connections[i].received.fetch_add(got);
        }
    }
}

qint64 LoopbackSink::receivedCount(int index) const
{
    return m_connections[index].received.load();
}

qint64 LoopbackSink::lastArrivalNs(int index) const
{
    return m_connections[index].lastArrivalNs.load();
}

bool LoopbackSink::waitForCount(int index, qint64 count, int timeoutMs) const
{
    const qint64 deadline = monotonicNanoseconds() + qint64(timeoutMs) * 1'000'000;
    while (receivedCount(index) < count) {
        if (monotonicNanoseconds() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

QByteArray LoopbackSink::take(int index)
{
    std::lock_guard lock(m_bytesLock);
    QByteArray bytes;
    bytes.swap(m_connections[index].bytes);
    return bytes;
}
