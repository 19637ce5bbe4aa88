// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatorprocess.h"

#include <QByteArrayView>

#include "waituntil.h"

using namespace TestKit;

SimulatorProcess::SimulatorProcess(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The sanitizer's quarantine of freed memory would count as resident.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":quarantine_size_mb=4"));
    m_process.setProcessEnvironment(environment);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { readConsole(); });
    m_process.start(executable(), QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (m_process.waitForStarted(10000))
        waitUntil([this] { return m_port != 0 || m_process.state() != QProcess::Running; }, 10000);
}

SimulatorProcess::~SimulatorProcess()
{
    m_process.kill();
    m_process.waitForFinished(10000);
}

QString SimulatorProcess::executable()
{
    return QStringLiteral(SIMULATOR_EXECUTABLE);
}

qsizetype SimulatorProcess::linesFrom(quint16 localPort) const
{
    return m_linesByPort.value(localPort);
}

void SimulatorProcess::readConsole()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype end; (end = m_partial.indexOf('\n', start)) >= 0; start = end + 1) {
        const QByteArrayView line = QByteArrayView(m_partial).sliced(start, end - start + 1);
        if (m_port == 0) {
            const QByteArrayView first = line.chopped(1);
            m_firstLine = first.toByteArray();
            m_port = quint16(first.sliced(first.lastIndexOf(' ') + 1).toUInt());
            continue;
        }
        m_console += line;
        // Each line starts with the client's address and port.
        const QByteArrayView peer = line.first(qMax<qsizetype>(0, line.indexOf(' ')));
        const quint16 port = quint16(peer.sliced(peer.lastIndexOf(':') + 1).toUInt());
        ++m_linesByPort[port];
        if (line.endsWith(" left\n"))
            ++m_left[port];
    }
    m_partial.remove(0, start);
}

RecordingClient::RecordingClient(quint16 port, bool reads)
{
    if (reads) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this] {
            const QByteArray piece = socket.readAll();
            received += piece;
            pieceSizes.append(piece.size());
        });
    } else {
        socket.setReadBufferSize(1);
    }
    socket.connectToHost(QHostAddress::LocalHost, port);
}
