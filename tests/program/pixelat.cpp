// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints the colour of the screen at each point given, as "rrggbb", one a
// line: what a person sees there, read back from the X server.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.size() % 2 != 0) {
        QTextStream(stderr) << "usage: pixel-at X Y [X Y ...]\n";
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    QTextStream out(stdout);
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QImage pixel = screen->grabWindow(0, args[i].toInt(), args[i + 1].toInt(), 1, 1).toImage();
        out << QString::asprintf("%06x\n", pixel.pixel(0, 0) & 0xffffff);
    }
    return 0;
}
