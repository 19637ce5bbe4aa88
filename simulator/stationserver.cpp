// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stationserver.h"

#include "replyblock.h"

#include <QTcpSocket>

StationServer::StationServer(QObject *parent) : QObject(parent)
{
    m_server.setListenBacklogSize(kListenBacklog);
    connect(&m_server, &QTcpServer::newConnection, this, &StationServer::acceptClients);
}

bool StationServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

// Built once and shared by every session: the same lines over and over, in
// the shape of a locomotive list.
void StationServer::setBurstBytes(qsizetype bytes)
{
    m_options.burstReply.clear();
    if (bytes <= 0)
        return;
    ReplyBlock reply(ClientSession::kBurstCommand);
    const QByteArray line = "1000 name[\"Tank engine\"] addr[3] speed[0] dir[0]";
    const qsizetype lines = bytes / (line.size() + 1) + 1;
    for (qsizetype i = 0; i < lines; ++i)
        reply.addLine(line);
    m_options.burstReply = reply.finished(ReplyStatus::Ok);
}

void StationServer::acceptClients()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection())
        startSession(socket);
}

void StationServer::startSession(QTcpSocket *socket)
{
    auto *session = new ClientSession(socket, m_nextClientId++, m_station, m_options, this);
    const QString peer = session->peer();
    m_peers.insert(session->clientId(), peer);
    connect(session, &ClientSession::commandReceived, this,
            [this, peer](const QByteArray &command) { emit commandReceived(peer, command); });
    connect(session, &ClientSession::commandDone, this,
            [this, peer](const StationChange &told) { emit stationChanged(peer, told); });
    connect(session, &ClientSession::commandTooLong, this, [this, peer] { emit commandTooLong(peer); });
    connect(session, &ClientSession::finished, this, [this, session] { endSession(session); });
    emit clientConnected(peer);
}

void StationServer::endSession(ClientSession *session)
{
    const StationChange freed = m_station.releaseClient(session->clientId());
    m_peers.remove(session->clientId());
    emit clientLeft(session->peer());
    if (freed.kind != StationChange::Kind::None)
        emit stationChanged(session->peer(), freed);
    session->deleteLater();
}
