// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Listens for clients and gives each a session on the one shared station.
// Reports what happens through signals; the console program prints them and
// the railway's window shows the station as they leave it.

#include "clientsession.h"
#include "station.h"

#include <QHostAddress>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>

class StationServer : public QObject
{
    Q_OBJECT

public:
    // Room for a crowd of clients connecting at the same moment.
    static constexpr int kListenBacklog = 256;

    explicit StationServer(QObject *parent = nullptr);

    // The railway starts afresh; meant for before the first client.
    void setLayout(const RailwayLayout &layout) { m_station = Station(layout); }
    // Options apply to the clients that connect after they are set.
    void setChunkSize(int bytes) { m_options.chunkSize = bytes; }
    void setCloseAfter(int commands) { m_options.closeAfter = commands; }
    void setLog(QIODevice *log) { m_options.log = log; }
    // Makes burst() answer with a locomotive list of at least `bytes` bytes;
    // 0: burst() is an unknown command like any other.
    void setBurstBytes(qsizetype bytes);

    // Port 0 picks a free port; serverPort() tells which.
    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 serverPort() const { return m_server.serverPort(); }
    QHostAddress serverAddress() const { return m_server.serverAddress(); }
    QString errorString() const { return m_server.errorString(); }

    const Station &station() const { return m_station; }
    // The connected clients by the number the station knows them by, in the
    // order they came.
    const QMap<int, QString> &clients() const { return m_peers; }

signals:
    void clientConnected(const QString &peer);
    void commandReceived(const QString &peer, const QByteArray &command);
    void commandTooLong(const QString &peer);
    void clientLeft(const QString &peer);
    // What a command of `peer` did, or why it changed nothing; after
    // clientLeft, what the client held that is free again.
    void stationChanged(const QString &peer, const StationChange &told);

private:
    void acceptClients();
    void startSession(QTcpSocket *socket);
    void endSession(ClientSession *session);

    QTcpServer m_server;
    Station m_station;
    ClientSession::Options m_options;
    QMap<int, QString> m_peers;
    int m_nextClientId = 1;
};
