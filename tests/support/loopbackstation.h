// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A station on loopback that records every byte its client sends and
// answers with what a test tells it.

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace TestKit {

class LoopbackStation
{
public:
    // Listens on a free port of `address`.
    explicit LoopbackStation(const QHostAddress &address = QHostAddress::LocalHost);

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    void stopListening() { m_server.close(); }

    // The latest client, nullptr before the first; how many came so far.
    QTcpSocket *peer() const { return m_peer; }
    int clientCount() const { return m_clients; }
    bool waitForClient(int timeoutMs = 5000);

    // What the latest client has sent that has already reached this side:
    // pending events are handled once and the socket is read, never waited on.
    QByteArray received();
    // Waits until what has come is as long as `expected` or has stopped
    // being its start, so a wrong byte ends the wait at once; returns all
    // that has come.
    QByteArray waitFor(const QByteArray &expected, int timeoutMs = 5000);
    // The same without running the event loop, so a sender that only
    // writes at its next event-loop pass is never served here.
    QByteArray waitForWithoutEventLoop(const QByteArray &expected, int timeoutMs = 5000);
    void clearReceived() { m_received.clear(); }

    void reply(const QByteArray &bytes);
    void closeClient();
    // Drops the client with a reset (RST) instead of an orderly close.
    void resetClient();

private:
    void take();

    QTcpServer m_server;
    QTcpSocket *m_peer = nullptr;
    QByteArray m_received;
    int m_clients = 0;
};

// Ends `socket` with a reset (RST) instead of an orderly close.
void resetConnection(QTcpSocket &socket);

} // namespace TestKit
