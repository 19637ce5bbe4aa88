// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingstation.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "clock.h"
#include "loopbacklistener.h"

using namespace TestKit;

namespace {

// The receive time the kernel attached to `message`, or 0.
qint64 packetTime(msghdr &message)
{
    for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec at{};
            std::memcpy(&at, CMSG_DATA(c), sizeof at);
            return qint64(at.tv_sec) * 1'000'000'000 + at.tv_nsec;
        }
    }
    return 0;
}

} // namespace

RecordingStation::RecordingStation()
{
    const LoopbackListener listener = listenOnLoopback(kMaxConnections);
    m_listenFd = listener.fd;
    m_port = listener.port;
    ::pipe2(m_wakeFd, O_CLOEXEC);
    m_thread = std::thread([this] { run(); });
}

RecordingStation::~RecordingStation()
{
    const char stop = 0;
    (void)::write(m_wakeFd[1], &stop, 1);
    m_thread.join();
    for (Connection &connection : m_connections) {
        if (connection.fd >= 0)
            ::close(connection.fd);
    }
    ::close(m_listenFd);
    ::close(m_wakeFd[0]);
    ::close(m_wakeFd[1]);
}

void RecordingStation::run()
{
    for (;;) {
        const int count = m_connectionCount.load();
        std::vector<pollfd> watched = {{m_wakeFd[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            watched.push_back({m_connections[i].fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents)
            return;
        if (watched[1].revents & POLLIN)
            accept();
        for (int i = 0; i < count; ++i) {
            if (watched[2 + i].revents & (POLLIN | POLLHUP | POLLERR))
                readFrom(m_connections[i]);
        }
    }
}

void RecordingStation::accept()
{
    const int count = m_connectionCount.load();
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    if (count == kMaxConnections) {
        ::close(fd);
        return;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    m_connections[count].fd = fd;
    m_connectionCount.store(count + 1);
}

void RecordingStation::readFrom(Connection &connection)
{
    char buffer[64 * 1024];
    iovec part{buffer, sizeof buffer};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = ::recvmsg(connection.fd, &message, MSG_DONTWAIT);
    const qint64 readNs = monotonicNs();
    if (got == 0) {
        ::close(connection.fd);
        connection.fd = -1;
    }
    if (got <= 0)
        return;
    const qint64 end = connection.received.load() + got;
    {
        const std::lock_guard lock(m_lock);
        connection.bytes.append(buffer, got);
        connection.reads.push_back({end, packetTime(message)});
    }
    connection.lastReadNs.store(readNs);
    connection.received.store(end);
}

qint64 RecordingStation::receivedCount(int index) const
{
    return m_connections[index].received.load();
}

qint64 RecordingStation::lastReadNs(int index) const
{
    return m_connections[index].lastReadNs.load();
}

qint64 RecordingStation::packetNs(int index, qint64 offset) const
{
    const std::lock_guard lock(m_lock);
    const std::vector<Read> &reads = m_connections[index].reads;
    const auto read =
            std::upper_bound(reads.begin(), reads.end(), offset, [](qint64 at, const Read &r) { return at < r.end; });
    return read == reads.end() ? 0 : read->packetNs;
}

bool RecordingStation::waitForCount(int index, qint64 count, int timeoutMs) const
{
    const qint64 deadline = monotonicNs() + qint64(timeoutMs) * 1'000'000;
    while (receivedCount(index) < count) {
        if (monotonicNs() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

QByteArray RecordingStation::take(int index)
{
    const std::lock_guard lock(m_lock);
    return std::exchange(m_connections[index].bytes, {});
}
