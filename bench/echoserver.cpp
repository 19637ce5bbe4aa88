// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor of the simulator bench: a Qt line-echo server on the same kind
// of event loop as the simulator, with no parsing and no railway. Each whole
// line a client sends is written back to it as it came. It announces its
// port in the same words as the simulator, so the bench starts both alike.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTcpServer server;
    // The simulator's backlog, so a crowd connects to both alike.
    server.setListenBacklogSize(256);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                while (socket->canReadLine())
                    socket->write(socket->readLine());
                socket->flush();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 1;
    std::printf("Line echo listening on 127.0.0.1 port %u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
