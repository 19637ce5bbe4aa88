// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on 127.0.0.1 that, once told, sends a fixed number of bytes of
// reply text to its one client as fast as the connection takes them. It
// writes from a thread of its own, so the reader alone sets the pace.

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class FloodStation
{
public:
    explicit FloodStation(qint64 totalBytes);
    ~FloodStation();

    quint16 port() const { return m_port; }
    bool hasClient() const { return m_accepted.load(); }
    void startFlood();
    qint64 startNs() const { return m_startNs.load(); }

    // What the station repeats: a locomotive list of the kind a station sends,
    // short lines with a long one now and then that wraps in the output box.
    static QByteArray pattern();

private:
    void run();

    qint64 m_total = 0;
    int m_listenFd = -1;
    int m_clientFd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_accepted{false};
    std::atomic<qint64> m_startNs{0};
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_go = false;
    bool m_quit = false;
    std::thread m_thread;
};
