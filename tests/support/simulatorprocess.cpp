// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatorprocess.h"

#include <QByteArrayView>

using namespace TestKit;

namespace {

// The sanitizer's quarantine of freed memory would count as resident.
QProcessEnvironment smallQuarantine()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":quarantine_size_mb=4"));
    return environment;
}

} // namespace

SimulatorProcess::SimulatorProcess(const QStringList &arguments, Console console, const QString &program)
    : ChildProgram(program, QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments, console,
                   smallQuarantine()),
      m_port(waitForPort())
{}

QString SimulatorProcess::executable()
{
    return QStringLiteral(SIMULATOR_EXECUTABLE);
}

qsizetype SimulatorProcess::linesFrom(quint16 localPort)
{
    readConsole();
    return m_linesByPort.value(localPort);
}

int SimulatorProcess::timesLeft(quint16 localPort)
{
    readConsole();
    return m_left.value(localPort);
}

// Counts the whole lines printed since the last call.
void SimulatorProcess::readConsole()
{
    const QByteArray fresh = console(m_read);
    qsizetype start = 0;
    for (qsizetype end; (end = fresh.indexOf('\n', start)) >= 0; start = end + 1) {
        const QByteArrayView line = QByteArrayView(fresh).sliced(start, end - start + 1);
        // Each line starts with the client's address and port.
        const QByteArrayView peer = line.first(qMax<qsizetype>(0, line.indexOf(' ')));
        const quint16 port = quint16(peer.sliced(peer.lastIndexOf(':') + 1).toUInt());
        ++m_linesByPort[port];
        if (line.endsWith(" left\n"))
            ++m_left[port];
    }
    m_read += start;
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
