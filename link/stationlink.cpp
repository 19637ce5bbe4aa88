// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/stationlink.h"

#include <QElapsedTimer>
#include <QTcpSocket>

#include <utility>

namespace {
// One byte per character: Latin-1 as it is, anything else as "?". A
// character beyond U+FFFF takes two UTF-16 units and is still one "?".
QByteArray singleByteText(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes += unit < 0x100 ? char(unit) : '?';
    }
    return bytes;
}

// The last kMaxChunkBytes of a pass. Every read but the pass's last one
// took a whole chunk, so the read before the latest always has enough.
QByteArray passTail(const QByteArray &earlier, const QByteArray &latest)
{
    const qsizetype missing = StationLink::kMaxChunkBytes - latest.size();
    if (missing <= 0 || earlier.isEmpty())
        return latest;
    return earlier.right(missing) + latest;
}
} // namespace

StationLink::StationLink(std::chrono::milliseconds readBudget, QObject *parent)
    : QObject(parent), m_socket(new QTcpSocket(this)), m_readBudget(readBudget)
{
    m_socket->setObjectName(QStringLiteral("WinsockCS"));
    m_waitTimer.setSingleShot(true);
    m_waitTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_waitTimer, &QTimer::timeout, this, &StationLink::finishAttempt);
    connect(m_socket, &QTcpSocket::readyRead, this, &StationLink::readChunks);
}

void StationLink::connectToStation(const QString &host, quint16 port)
{
    if (isAttemptRunning())
        return;
    if (isConnected()) {
        emit attemptFinished(true);
        return;
    }
    m_socket->abort();
    m_socket->connectToHost(host, port);
    m_waitClock.start();
    m_waitTimer.start(kConnectWaitMs);
}

bool StationLink::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void StationLink::finishAttempt()
{
    // A timer may fire a fraction of a millisecond early; the outcome is
    // never read before the whole wait has passed.
    if (const qint64 left = kConnectWaitMs - m_waitClock.elapsed(); left > 0) {
        m_waitTimer.start(int(left));
        return;
    }
    const bool connected = isConnected();
    if (!connected)
        m_socket->abort();
    emit attemptFinished(connected);
}

bool StationLink::send(const QString &command)
{
    if (!isConnected())
        return false;
    m_socket->write(singleByteText(command));
    // Out now rather than at the next event-loop pass: a command leaves the
    // moment the operator acts.
    m_socket->flush();
    return true;
}

void StationLink::close()
{
    m_waitTimer.stop();
    m_socket->close();
}

void StationLink::readChunks()
{
    m_readScheduled = false;
    QElapsedTimer budget;
    budget.start();
    // However much a pass reads, only its last two chunks are kept.
    QByteArray earlier;
    QByteArray latest;
    qint64 byteCount = 0;
    while (m_socket->bytesAvailable() > 0) {
        earlier = std::move(latest);
        latest = m_socket->read(kMaxChunkBytes);
        byteCount += latest.size();
        if (budget.elapsed() >= m_readBudget.count())
            break;
    }
    if (byteCount > 0)
        emit dataArrived(QString::fromLatin1(passTail(earlier, latest)), byteCount);
    if (m_socket->bytesAvailable() > 0 && !m_readScheduled) {
        m_readScheduled = true;
        QTimer::singleShot(0, this, &StationLink::readChunks);
    }
}
