// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatoroptions.h"
#include "simulatorprogram.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PANEL_VERSION));
    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    parser.process(app);

    SimulatorOptions options;
    SimulatorProgram program;
    if (!options.read(parser) || !program.start(options)) {
        const QString why = options.errorString.isEmpty() ? program.errorString() : options.errorString;
        QTextStream(stderr) << why << Qt::endl;
        return options.errorString.isEmpty() ? 1 : 2;
    }
    return app.exec();
}
