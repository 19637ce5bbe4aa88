// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The least a Qt Widgets program does to show a window of the panel's size.

#include <QApplication>
#include <QWidget>

#include "firstpaint.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Central Station"));
    window.resize(802, 449);
    markFirstPaint(&window);
    window.show();
    return app.exec();
}
