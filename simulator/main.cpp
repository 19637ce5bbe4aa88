// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatoroptions.h"
#include "simulatorprogram.h"
#include "view/railwayview.h"

#include "common/displayguard.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    // A console program, unless the railway's window is asked for.
    std::unique_ptr<QCoreApplication> app;
    if (SimulatorOptions::wantsView(argc, argv)) {
        DisplayGuard displayGuard("command-station-simulator",
                                  "xvfb-run -a command-station-simulator --view, or leave out --view");
        app = std::make_unique<QApplication>(argc, argv);
        displayGuard.release();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationVersion(QStringLiteral(PANEL_VERSION));
    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    parser.process(*app);

    SimulatorOptions options;
    SimulatorProgram program;
    if (!options.read(parser) || !program.start(options)) {
        const QString why = options.errorString.isEmpty() ? program.errorString() : options.errorString;
        QTextStream(stderr) << why << Qt::endl;
        return options.errorString.isEmpty() ? 1 : 2;
    }
    std::unique_ptr<RailwayView> view;
    if (options.view) {
        view = std::make_unique<RailwayView>(program.server());
        view->show();
    }
    return app->exec();
}
