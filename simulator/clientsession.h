// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One connected client: cuts what it sends into commands, has the station
// answer each, and writes the replies back, whole or in timed pieces. It
// never blocks, and it stops reading while the client leaves its replies
// unread, so a client that floods without reading costs bounded memory.

#include "commandsplitter.h"
#include "stationchange.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QIODevice;
class QTcpSocket;
class Station;

class ClientSession : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // Each reply goes out in writes of at most this many bytes; 0: whole.
        int chunkSize = 0;
        // The client is closed after replying to this many commands; 0: never.
        int closeAfter = 0;
        // Receives every byte the client sends, raw; may be null.
        QIODevice *log = nullptr;
        // When not empty, the reply to the command burst(): a large reply on
        // demand, for measuring how a client copes with one.
        QByteArray burstReply;
    };

    static constexpr QByteArrayView kBurstCommand = "burst()";

    static constexpr int kChunkPauseMs = 10;
    // Replies not yet taken by the client, past which its input waits.
    static constexpr qsizetype kMaxBacklog = 256 * 1024;
    static constexpr qsizetype kReadBufferSize = 64 * 1024;
    // How long a closing client may go on sending before it is cut off.
    static constexpr int kLingerMs = 2000;

    ClientSession(QTcpSocket *socket, int clientId, Station &station, const Options &options,
                  QObject *parent = nullptr);

    int clientId() const { return m_clientId; }
    QString peer() const { return m_peer; }

signals:
    void commandReceived(const QByteArray &command);
    // What the command did, unless it only read.
    void commandDone(const StationChange &told);
    void commandTooLong();
    void finished();

private:
    qsizetype backlog() const;
    void readInput();
    void handle(const QByteArray &command);
    void rejectTooLong();
    void send(const QByteArray &reply);
    void write(const QByteArray &bytes);
    void writeNextChunk();
    void noteBytesTaken();
    void resume();
    void closeWhenSent();
    void finishClosing();
    void discardInput();
    void cutOff();
    void end();

    QTcpSocket *m_socket;
    const int m_clientId;
    Station &m_station;
    const Options m_options;
    const QString m_peer;
    CommandSplitter m_splitter;
    QByteArray m_unsent;
    QTimer m_chunkTimer;
    QTimer m_lingerTimer;
    int m_commandCount = 0;
    bool m_closing = false;
    bool m_ended = false;
    bool m_resumePending = false;
};
