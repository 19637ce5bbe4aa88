// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulator program as a user starts it, on a free port of 127.0.0.1,
// with its console read line by line as it prints; and a client of any
// station that records everything it receives.

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpSocket>

#include "childprogram.h"

namespace TestKit {

class SimulatorProcess : public ChildProgram
{
public:
    // Starts `program` with `--port 0` and `arguments`, and waits for the
    // port its first line names.
    explicit SimulatorProcess(const QStringList &arguments = {}, Console console = Console::Keep,
                              const QString &program = executable());

    // The simulator of this build.
    static QString executable();

    // 0 when the program did not start or named no port.
    quint16 port() const { return m_port; }
    // Lines printed for the client at local port `localPort`.
    qsizetype linesFrom(quint16 localPort);
    // How often a client at `localPort` was reported gone: a port may be
    // used again by a later client.
    int timesLeft(quint16 localPort);

private:
    void readConsole();

    quint16 m_port = 0;
    qsizetype m_read = 0;
    QHash<quint16, qsizetype> m_linesByPort;
    QHash<quint16, int> m_left;
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
