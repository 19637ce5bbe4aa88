// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatorprogram.h"

#include "replyblock.h"

#include <cstdio>

SimulatorProgram::SimulatorProgram(QObject *parent) : QObject(parent), m_out(stdout)
{
    // The commands of a short while are printed together, in one write:
    // with many clients, or one client sending as fast as it is answered, a
    // write per command or per event-loop pass would cost more than
    // answering it. A person at the console sees no delay.
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(kConsoleBatchMs);
    connect(&m_flushTimer, &QTimer::timeout, this, [this] { m_out.flush(); });
    connect(&m_server, &StationServer::clientConnected, this, &SimulatorProgram::printConnected);
    connect(&m_server, &StationServer::commandReceived, this, &SimulatorProgram::printCommand);
    connect(&m_server, &StationServer::commandTooLong, this, &SimulatorProgram::printTooLong);
    connect(&m_server, &StationServer::clientLeft, this, &SimulatorProgram::printLeft);
    connect(&m_server, &StationServer::stationChanged, this, &SimulatorProgram::printChange);
}

bool SimulatorProgram::start(const SimulatorOptions &options)
{
    if (!options.logPath.isEmpty()) {
        m_log.setFileName(options.logPath);
        // Unbuffered, so the log is complete whenever the program is stopped.
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            m_errorString = QStringLiteral("Cannot open the log file %1: %2").arg(options.logPath, m_log.errorString());
            return false;
        }
        m_server.setLog(&m_log);
    }
    m_server.setLayout(options.layout);
    m_server.setChunkSize(options.chunkSize);
    m_server.setCloseAfter(options.closeAfter);
    m_server.setBurstBytes(options.burstBytes);
    if (!m_server.listen(options.host, options.port)) {
        m_errorString = QStringLiteral("Cannot listen on %1 port %2: %3")
                                .arg(options.host.toString())
                                .arg(options.port)
                                .arg(m_server.errorString());
        return false;
    }
    m_out << "Command station simulator listening on " << options.host.toString() << " port " << m_server.serverPort()
          << Qt::endl;
    return true;
}

void SimulatorProgram::printConnected(const QString &peer)
{
    m_out << peer << " connected" << Qt::endl;
}

void SimulatorProgram::printCommand(const QString &peer, const QByteArray &command)
{
    m_out << peer << " > " << QLatin1StringView(ReplyBlock::printable(command)) << '\n';
    flushSoon();
}

// Indented under the command or the leaving it tells of.
void SimulatorProgram::printChange(const QString &peer, const StationChange &told)
{
    m_out << "  " << told.words(peer) << '\n';
    flushSoon();
}

void SimulatorProgram::flushSoon()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void SimulatorProgram::printTooLong(const QString &peer)
{
    m_out << peer << " sent a command longer than " << CommandSplitter::kDefaultLimit << " bytes: closing it"
          << Qt::endl;
}

void SimulatorProgram::printLeft(const QString &peer)
{
    m_out << peer << " left" << Qt::endl;
}
