// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatoroptions.h"
#include "view/simulatorlaunch.h"

#include "common/displayguard.h"
#include "artwork/pictureicon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>

#include <memory>

namespace {

// The railway's window belongs with the panel on the desktop: the panel's
// menu entry starts it, and lends it its name and icon.
std::unique_ptr<QCoreApplication> windowApplication(int &argc, char **argv)
{
    DisplayGuard displayGuard("command-station-simulator",
                              "xvfb-run -a command-station-simulator --view, or leave out --view");
    auto app = std::make_unique<QApplication>(argc, argv);
    displayGuard.release();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.modelrailway.panel"));
    QApplication::setWindowIcon(programIcon());
    return app;
}

} // namespace

int main(int argc, char *argv[])
{
    // A console program, unless the railway's window is asked for.
    const bool window = SimulatorOptions::wantsView(argc, argv);
    const std::unique_ptr<QCoreApplication> app =
            window ? windowApplication(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(PANEL_VERSION));
    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    parser.process(*app);

    SimulatorLaunch launch;
    const int refused = launch.start(parser, window);
    return refused >= 0 ? refused : app->exec();
}
