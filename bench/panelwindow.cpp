// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's entry point with the first-paint mark added.

#include <QApplication>

#include "actions/panel.h"
#include "firstpaint.h"
#include "window/main.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Panel panel;
    markFirstPaint(&panel.window());
    panel.window().show();
    return app.exec();
}
