// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The command line of the simulator program: the options, their defaults
// and the checks on their values, down to the railway file it names.

#include "railwaylayout.h"

#include <QHostAddress>
#include <QString>

class QCommandLineParser;

class SimulatorOptions
{
public:
    static constexpr quint16 kDefaultPort = 15471;

    static void addTo(QCommandLineParser &parser);
    // Where the simulator's manual is installed beside the program.
    static QString manualPath();
    // Whether the command line asks for the railway's window: known before
    // the application is made, as only the window needs a display.
    static bool wantsView(int argc, char **argv);
    // False, with errorString() saying why, when a value makes no sense.
    bool read(const QCommandLineParser &parser);

    QHostAddress host;
    quint16 port = kDefaultPort;
    int chunkSize = 0;
    int closeAfter = 0;
    int burstBytes = 0;
    QString logPath;
    bool view = false;
    RailwayLayout layout = RailwayLayout::builtIn();
    QString errorString;
};
