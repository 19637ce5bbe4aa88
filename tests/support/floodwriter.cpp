// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "floodwriter.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "clock.h"

using namespace TestKit;

FloodWriter::FloodWriter(int fd, qint64 total, const QByteArray &pattern)
    : m_fd(fd), m_total(total), m_block(pattern.repeated(qMax<qsizetype>(1, 256 * 1024 / pattern.size())))
{
    m_thread = std::thread([this] { run(); });
}

FloodWriter::~FloodWriter()
{
    m_stop = true;
    m_thread.join();
}

void FloodWriter::run()
{
    m_startedNs = monotonicNs();
    for (qint64 written = 0; written < m_total && !m_stop;) {
        // A reader that stops taking must not keep this thread from stopping.
        pollfd writable{m_fd, POLLOUT, 0};
        if (::poll(&writable, 1, 100) <= 0)
            continue;
        const qint64 at = written % m_block.size();
        const qint64 length = qMin(m_block.size() - at, m_total - written);
        const ssize_t sent = ::send(m_fd, m_block.constData() + at, size_t(length), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno != EAGAIN && errno != EINTR)
            return;
        written += qMax<ssize_t>(sent, 0);
    }
}
