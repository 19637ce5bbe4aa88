// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on 127.0.0.1 that only listens and records: a thread of its own
// accepts connections and keeps, per connection in order of acceptance,
// every byte, when the station read the latest of them (monotonicNs(), so
// that the panel's event loop does not hold the moment up), and for each
// read the kernel's receive time of its last packet (CLOCK_REALTIME), which
// a reader that wakes late does not move either.

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace TestKit {

class RecordingStation
{
public:
    RecordingStation();
    ~RecordingStation();
    RecordingStation(const RecordingStation &) = delete;
    RecordingStation &operator=(const RecordingStation &) = delete;

    quint16 port() const { return m_port; }
    int connectionCount() const { return m_connectionCount.load(); }

    // Bytes connection `index` has received in all, and when the station
    // read the latest of them.
    qint64 receivedCount(int index) const;
    qint64 lastReadNs(int index) const;
    // The receive time of the packet that brought the byte at `offset`
    // (counted from the connection's first byte); 0 before it came.
    qint64 packetNs(int index, qint64 offset) const;
    // Waits until connection `index` has received `count` bytes in all,
    // spinning, without running any event loop; false after `timeoutMs`.
    bool waitForCount(int index, qint64 count, int timeoutMs = 2000) const;
    // What connection `index` received since the last take.
    QByteArray take(int index);

private:
    struct Read
    {
        qint64 end = 0;
        qint64 packetNs = 0;
    };
    struct Connection
    {
        int fd = -1;
        std::atomic<qint64> received{0};
        std::atomic<qint64> lastReadNs{0};
        QByteArray bytes;
        std::vector<Read> reads;
    };

    void run();
    void accept();
    void readFrom(Connection &connection);

    static constexpr int kMaxConnections = 4;
    int m_listenFd = -1;
    int m_wakeFd[2] = {-1, -1};
    quint16 m_port = 0;
    std::atomic<int> m_connectionCount{0};
    Connection m_connections[kMaxConnections];
    mutable std::mutex m_lock;
    std::thread m_thread;
};

} // namespace TestKit
