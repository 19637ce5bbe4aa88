// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "clientsession.h"

#include "replyblock.h"
#include "socketsend.h"
#include "station.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {

// Reading in small steps lets the backlog check act between them.
constexpr qint64 kReadStep = 4096;

QString peerName(const QTcpSocket *socket)
{
    const QHostAddress address = socket->peerAddress();
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
            ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
            : address.toString();
    return host + QLatin1Char(':') + QString::number(socket->peerPort());
}

} // namespace

ClientSession::ClientSession(QTcpSocket *socket, int clientId, Station &station, const Options &options,
                             QObject *parent)
    : QObject(parent), m_socket(socket), m_clientId(clientId), m_station(station), m_options(options),
      m_peer(peerName(socket))
{
    m_socket->setParent(this);
    m_socket->setReadBufferSize(kReadBufferSize);
    m_chunkTimer.setSingleShot(true);
    m_chunkTimer.setTimerType(Qt::PreciseTimer);
    m_chunkTimer.setInterval(kChunkPauseMs);
    connect(&m_chunkTimer, &QTimer::timeout, this, &ClientSession::writeNextChunk);
    m_lingerTimer.setSingleShot(true);
    m_lingerTimer.setInterval(kLingerMs);
    connect(&m_lingerTimer, &QTimer::timeout, this, &ClientSession::cutOff);
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientSession::readInput);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &ClientSession::noteBytesTaken);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientSession::end);
}

qsizetype ClientSession::backlog() const
{
    return m_unsent.size() + m_socket->bytesToWrite();
}

// A write that fails (the client reset the connection) closes the socket
// on the spot, in the middle of this loop: nothing more is read or written.
void ClientSession::readInput()
{
    while (!m_closing && m_socket->isOpen() && backlog() < kMaxBacklog) {
        // No more than is there: a read of the whole step would make room
        // for 4 KiB to take in one command.
        const QByteArray bytes = m_socket->read(qMin(kReadStep, m_socket->bytesAvailable()));
        if (bytes.isEmpty())
            return;
        if (m_options.log)
            m_options.log->write(bytes);
        const QList<QByteArray> commands = m_splitter.feed(bytes);
        for (const QByteArray &command : commands) {
            if (m_closing || !m_socket->isOpen())
                break;
            handle(command);
        }
        if (!m_closing && m_splitter.overflowed())
            rejectTooLong();
    }
    if (m_closing)
        discardInput();
}

void ClientSession::handle(const QByteArray &command)
{
    ++m_commandCount;
    emit commandReceived(command);
    if (!m_options.burstReply.isEmpty() && command == kBurstCommand) {
        send(m_options.burstReply);
    } else {
        StationChange told;
        const QByteArray reply = m_station.execute(m_clientId, command, told);
        if (told.kind != StationChange::Kind::None)
            emit commandDone(told);
        send(reply);
    }
    if (m_options.closeAfter > 0 && m_commandCount >= m_options.closeAfter)
        closeWhenSent();
}

// Nothing after an overlong command can be told apart from it, so the
// client hears why and is closed.
void ClientSession::rejectTooLong()
{
    emit commandTooLong();
    send(ReplyBlock(m_splitter.pending()).finished(ReplyStatus::CommandTooLong));
    closeWhenSent();
}

void ClientSession::send(const QByteArray &reply)
{
    if (m_options.chunkSize <= 0) {
        write(reply);
        return;
    }
    m_unsent += reply;
    if (!m_chunkTimer.isActive())
        writeNextChunk();
}

// Handed to the system at once, without blocking: a client that shuts its
// sending side after its last command still gets the replies, although the
// socket closes as soon as it sees that end.
//
// While nothing waits in the socket's buffer, the bytes go straight to the
// system: a buffered write switches the socket's write notifier on and then
// off again for every reply, which with many clients cost the event loop as
// much as the rest of the command. What the system does not take at once,
// or refuses, goes through the socket as before, which waits for room or
// reports the error.
void ClientSession::write(const QByteArray &bytes)
{
    if (!m_socket->isOpen())
        return;
    qsizetype sent = 0;
    if (m_socket->bytesToWrite() == 0)
        sent = SocketSend::sendNow(m_socket->socketDescriptor(), bytes.constData(), bytes.size());
    if (sent >= bytes.size()) {
        noteBytesTaken();
        return;
    }
    m_socket->write(bytes.sliced(qMax<qsizetype>(sent, 0)));
    m_socket->flush();
}

void ClientSession::writeNextChunk()
{
    if (m_ended)
        return;
    write(m_unsent.first(qMin<qsizetype>(m_options.chunkSize, m_unsent.size())));
    m_unsent.remove(0, m_options.chunkSize);
    if (!m_unsent.isEmpty())
        m_chunkTimer.start();
}

// A write hands its bytes on at once and reports from inside itself, in the
// middle of handling a command, so what this starts waits for the next
// event-loop pass. Only a session that left input unread or is closing has anything to
// start: the others, nearly all of them, post nothing.
void ClientSession::noteBytesTaken()
{
    const bool hasWork = m_closing || m_socket->bytesAvailable() > 0;
    if (m_resumePending || !hasWork)
        return;
    m_resumePending = true;
    QMetaObject::invokeMethod(this, &ClientSession::resume, Qt::QueuedConnection);
}

// The client took some replies: read on if it was waiting for that.
void ClientSession::resume()
{
    m_resumePending = false;
    if (m_closing)
        finishClosing();
    else if (m_socket->bytesAvailable() > 0)
        readInput();
}

void ClientSession::closeWhenSent()
{
    m_closing = true;
    finishClosing();
}

// Closing outright while the client still sends would reset the connection
// and could destroy the last replies on their way. So once every reply is
// out, only the sending side is shut: the client reads to the end, sees the
// close and closes too, while what it still sends is read and dropped.
void ClientSession::finishClosing()
{
    if (m_ended || m_lingerTimer.isActive() || backlog() > 0)
        return;
    SocketSend::shutdownSending(m_socket->socketDescriptor());
    m_lingerTimer.start();
}

void ClientSession::discardInput()
{
    while (m_socket->isOpen() && m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->read(kReadStep);
        if (m_options.log)
            m_options.log->write(bytes);
    }
}

void ClientSession::cutOff()
{
    m_socket->abort();
    end();
}

void ClientSession::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_chunkTimer.stop();
    m_lingerTimer.stop();
    emit finished();
}
