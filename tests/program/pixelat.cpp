// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints the colour of the screen at each point given, as "rrggbb", one a
// line: what a person sees there, read back from the X server. With --grab,
// saves a rectangle of the screen to a PNG instead.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (args.size() == 6 && args[0] == u"--grab") {
        const QPixmap shot = screen->grabWindow(0, args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt());
        return shot.save(args[5], "PNG") ? 0 : 1;
    }
    if (args.isEmpty() || args.size() % 2 != 0) {
        QTextStream(stderr) << "usage: pixel-at X Y [X Y ...]\n       pixel-at --grab X Y WIDTH HEIGHT FILE.png\n";
        return 2;
    }
    QTextStream out(stdout);
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QImage pixel = screen->grabWindow(0, args[i].toInt(), args[i + 1].toInt(), 1, 1).toImage();
        out << QString::asprintf("%06x\n", pixel.pixel(0, 0) & 0xffffff);
    }
    return 0;
}
