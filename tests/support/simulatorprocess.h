// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulator program as a user starts it, on a free port, with its
// console read line by line as it prints; and a client of any station that
// records everything it receives.

#include <QByteArray>
#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>

namespace TestKit {

class SimulatorProcess
{
public:
    // Starts the program with `--port 0` and `arguments`, and waits for the
    // port its first line names.
    explicit SimulatorProcess(const QStringList &arguments = {});
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    static QString executable();

    // 0 when the program did not start or named no port.
    quint16 port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    QProcess &process() { return m_process; }
    QByteArray errors() { return m_process.readAllStandardError(); }

    // The line that names the port, without its line break.
    QByteArray firstLine() const { return m_firstLine; }
    // The console after its first line, as printed so far.
    QByteArray console() const { return m_console; }
    // Lines printed for the client at local port `localPort`.
    qsizetype linesFrom(quint16 localPort) const;
    // How often a client at `localPort` was reported gone: a port may be
    // used again by a later client.
    int timesLeft(quint16 localPort) const { return m_left.value(localPort); }

private:
    void readConsole();

    QProcess m_process;
    QByteArray m_partial;
    QByteArray m_firstLine;
    QByteArray m_console;
    QHash<quint16, qsizetype> m_linesByPort;
    QHash<quint16, int> m_left;
    quint16 m_port = 0;
};

struct RecordingClient
{
    // Connects to 127.0.0.1:`port`. A client that does not read keeps a
    // receive buffer of one byte, so the station's replies back up.
    explicit RecordingClient(quint16 port, bool reads = true);

    qsizetype replyCount() const { return received.count("<END "); }

    QTcpSocket socket;
    QByteArray received;
    // The size of every piece as it came.
    QList<qsizetype> pieceSizes;
};

} // namespace TestKit
