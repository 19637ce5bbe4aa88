#pragma once

// The one TCP connection to the command station: connecting with its fixed
// wait, writing command texts and reading what the station sends. It reports
// through signals and never shows anything itself.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

class StationLink : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kStationPort = 15471;
    // The connect wait: 51 passes of 10 ms, read once at the end.
    static constexpr int kConnectWaitMs = 51 * 10;
    // The most read from the socket at once: one chunk of received text.
    static constexpr qint64 kMaxChunkBytes = 64 * 1024;

    explicit StationLink(QObject *parent = nullptr);

    QTcpSocket *socket() const { return m_socket; }

    // Starts one connection attempt to `host`; attemptFinished() tells the
    // outcome once the wait is over. While an attempt runs, another is not
    // started; while connected, the working connection is kept and reported.
    void connectToStation(const QString &host);
    bool isAttemptRunning() const { return m_waitTimer.isActive(); }
    bool isConnected() const;

    // Writes `command` as single-byte text, nothing added. Writes nothing and
    // returns false when the station is not connected.
    bool send(const QString &command);

    void close();

    // Tests reach a station on another port; the program always uses 15471.
    void setPortForTesting(quint16 port) { m_port = port; }

signals:
    void attemptFinished(bool connected);
    void chunkArrived(const QString &chunk);
    // After the last chunkArrived() of one reading pass, before the event
    // loop runs again: nothing can see the chunks in between, so this is
    // where a view of the latest chunk is brought up to date.
    void readPassFinished();

private:
    void finishAttempt();
    void readChunks();

    QTcpSocket *m_socket = nullptr;
    QTimer m_waitTimer;
    QElapsedTimer m_waitClock;
    quint16 m_port = kStationPort;
    bool m_readScheduled = false;
};
