// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on 127.0.0.1 that only listens: a thread of its own accepts
// connections and records, per connection, every byte and the moment the
// latest bytes arrived. Run in its own thread so that the moment of arrival
// does not wait for the panel's event loop.

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class LoopbackSink
{
public:
    LoopbackSink();
    ~LoopbackSink();

    quint16 port() const { return m_port; }
    int connectionCount() const { return m_connectionCount.load(); }

    // Bytes connection `index` (in order of acceptance) has received so far,
    // and the monotonic time in nanoseconds the latest of them arrived.
    qint64 receivedCount(int index) const;
    qint64 lastArrivalNs(int index) const;
    // Waits (spinning) until connection `index` has received `count` bytes
    // in all; false after `timeoutMs`.
    bool waitForCount(int index, qint64 count, int timeoutMs = 2000) const;
    // Everything connection `index` received since the last take.
    QByteArray take(int index);

private:
    struct Connection
    {
        int fd = -1;
        std::atomic<qint64> received{0};
        std::atomic<qint64> lastArrivalNs{0};
        QByteArray bytes;
    };

    void run();

    int m_listenFd = -1;
    int m_wakeFd[2] = {-1, -1};
    quint16 m_port = 0;
    std::atomic<int> m_connectionCount{0};
    static constexpr int kMaxConnections = 8;
    Connection m_connections[kMaxConnections];
    mutable std::mutex m_bytesLock;
    std::thread m_thread;
};
