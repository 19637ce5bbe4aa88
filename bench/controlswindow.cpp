// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up floor with the panel's controls: the same kinds, texts, font,
// geometry and start-up states, built from stock Qt controls only, from the
// description the bench wrote of the panel (see controlsdescription.h).

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QWidget>

#include <memory>

#include "controlsdescription.h"
#include "firstpaint.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const std::unique_ptr<QWidget> window(buildControls(QJsonDocument::fromJson(file.readAll()).object()));
    markFirstPaint(window.get());
    window->show();
    return app.exec();
}
