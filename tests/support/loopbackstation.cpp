// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "loopbackstation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <sys/socket.h>

#include "waituntil.h"

using namespace TestKit;

LoopbackStation::LoopbackStation(const QHostAddress &address)
{
    m_server.listen(address, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { take(); });
}

void LoopbackStation::take()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        m_peer = client;
        m_received.clear();
        ++m_clients;
        QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] {
            if (client == m_peer)
                m_received += client->readAll();
        });
    }
}

bool LoopbackStation::waitForClient(int timeoutMs)
{
    return waitUntil([this] { return m_peer != nullptr; }, timeoutMs);
}

QByteArray LoopbackStation::received()
{
    QCoreApplication::processEvents();
    if (m_peer && m_peer->isOpen()) {
        while (m_peer->waitForReadyRead(0)) {}
        m_received += m_peer->readAll();
    }
    return m_received;
}

namespace {

bool stillComing(const QByteArray &received, const QByteArray &expected)
{
    return received.size() < expected.size() && expected.startsWith(received);
}

} // namespace

QByteArray LoopbackStation::waitFor(const QByteArray &expected, int timeoutMs)
{
    waitUntil([&] { return !stillComing(m_received, expected); }, timeoutMs);
    return m_received;
}

QByteArray LoopbackStation::waitForWithoutEventLoop(const QByteArray &expected, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_peer && m_peer->isOpen() && stillComing(m_received, expected) && !deadline.hasExpired()) {
        m_peer->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        m_received += m_peer->readAll();
    }
    return m_received;
}

void LoopbackStation::reply(const QByteArray &bytes)
{
    m_peer->write(bytes);
    m_peer->flush();
}

void LoopbackStation::closeClient()
{
    m_peer->close();
}

void LoopbackStation::resetClient()
{
    resetConnection(*m_peer);
}

void TestKit::resetConnection(QTcpSocket &socket)
{
    const linger abortive{1, 0};
    ::setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    socket.abort();
}
