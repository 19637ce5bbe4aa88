// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The console program around the server: opens the raw log, starts
// listening and prints one line for every client and command, so a user can
// watch what the panel sends, and under a command what it did.

#include "simulatoroptions.h"
#include "stationserver.h"

#include <QFile>
#include <QObject>
#include <QTextStream>
#include <QTimer>

class SimulatorProgram : public QObject
{
    Q_OBJECT

public:
    // How long a printed command may wait for the ones after it.
    static constexpr int kConsoleBatchMs = 20;

    explicit SimulatorProgram(QObject *parent = nullptr);

    // False, with errorString() saying why, when it cannot serve.
    bool start(const SimulatorOptions &options);
    QString errorString() const { return m_errorString; }
    const StationServer &server() const { return m_server; }

private:
    void printConnected(const QString &peer);
    void printCommand(const QString &peer, const QByteArray &command);
    void printTooLong(const QString &peer);
    void printLeft(const QString &peer);
    void printChange(const QString &peer, const StationChange &told);
    void flushSoon();

    StationServer m_server;
    QFile m_log;
    QTextStream m_out;
    QTimer m_flushTimer;
    QString m_errorString;
};
