// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on 127.0.0.1 that notes when each piece of what its one client
// sends arrived, by the kernel's receive time of the packet (CLOCK_REALTIME,
// in nanoseconds). Reading happens on a thread of its own, and since the
// time is the packet's, a reader that wakes late measures the same.

#include <QByteArray>
#include <QList>

#include <atomic>
#include <mutex>
#include <thread>

namespace TestKit {

class ArrivalClock
{
public:
    struct Piece
    {
        QByteArray bytes;
        qint64 arrivedNs = 0;
    };

    // Reads in pieces of exactly `pieceSizes`, in turn, so that one piece
    // is one command; then stops.
    explicit ArrivalClock(const QList<qsizetype> &pieceSizes);
    ~ArrivalClock();
    ArrivalClock(const ArrivalClock &) = delete;
    ArrivalClock &operator=(const ArrivalClock &) = delete;

    quint16 port() const { return m_port; }
    // The pieces read so far.
    QList<Piece> pieces() const;

private:
    void run();

    int m_listener = -1;
    quint16 m_port = 0;
    const QList<qsizetype> m_sizes;
    mutable std::mutex m_mutex;
    QList<Piece> m_pieces;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace TestKit
