// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include "actions/panel.h"
#include "common/displayguard.h"
#include "window/main.h"

int main(int argc, char *argv[])
{
    DisplayGuard displayGuard("model-railway-panel", "xvfb-run -a model-railway-panel");
    QApplication app(argc, argv);
    displayGuard.release();
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.modelrailway.panel"));
    Panel panel;
    panel.window().show();
    return app.exec();
}
