// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station that floods: writes `total` bytes of `pattern`, repeated, to a
// connected socket from a thread of its own, as fast as the reader takes
// them, so that the reader alone sets the pace.

#include <QByteArray>

#include <atomic>
#include <thread>

namespace TestKit {

class FloodWriter
{
public:
    // Starts writing at once to `fd`, blocking or not; the socket stays the
    // caller's.
    FloodWriter(int fd, qint64 total, const QByteArray &pattern);
    // Stops writing, whether all is written or not.
    ~FloodWriter();
    FloodWriter(const FloodWriter &) = delete;
    FloodWriter &operator=(const FloodWriter &) = delete;

    // The monotonic clock just before the first byte was written.
    qint64 startedNs() const { return m_startedNs.load(); }

private:
    void run();

    const int m_fd;
    const qint64 m_total;
    const QByteArray m_block;
    std::atomic<qint64> m_startedNs = 0;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace TestKit
