// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one TCP connection to the command station: connecting with its fixed
// wait, writing command texts and reading what the station sends. It reports
// through signals and never shows anything itself.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QTcpSocket;

class StationLink : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kStationPort = 15471;
    // The connect wait: 51 passes of 10 ms, read once at the end.
    static constexpr int kConnectWaitMs = 51 * 10;
    // The most read from the socket at once, and the most of a reading pass
    // handed on: the recent end of what arrived.
    static constexpr qint64 kMaxChunkBytes = 64 * 1024;

    // A reading pass stops once it has read for `readBudget`, after a chunk
    // at least, and leaves the rest to the next event-loop pass, so that a
    // flood does not hold the caller's event loop.
    explicit StationLink(std::chrono::milliseconds readBudget, QObject *parent = nullptr);

    // Starts one connection attempt to `host`; attemptFinished() tells the
    // outcome once the wait is over. While an attempt runs, another is not
    // started; while connected, the working connection is kept and reported.
    void connectToStation(const QString &host, quint16 port = kStationPort);
    bool isAttemptRunning() const { return m_waitTimer.isActive(); }
    bool isConnected() const;

    // Writes `command` as single-byte text, nothing added. Writes nothing and
    // returns false when the station is not connected.
    bool send(const QString &command);

    void close();

signals:
    void attemptFinished(bool connected);
    // Once per reading pass: what was waiting is read in chunks of at most
    // kMaxChunkBytes until none is left or the read budget is spent,
    // `byteCount` bytes in all. Only the pass's last kMaxChunkBytes are
    // handed on (all of it when it read less), since nothing can see what
    // came before them.
    void dataArrived(const QString &recentText, qint64 byteCount);

private:
    void finishAttempt();
    void readChunks();

    QTcpSocket *m_socket = nullptr;
    QTimer m_waitTimer;
    QElapsedTimer m_waitClock;
    const std::chrono::milliseconds m_readBudget;
    bool m_readScheduled = false;
};
