// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints the colour of the screen at each point given, as "rrggbb", one a
// line: what a person sees there, read back from the X server. With --grab,
// saves a rectangle of the screen to a PNG instead; with --ink, prints where
// in a rectangle something is drawn on its ground (the colour of its top
// left pixel; a shade a button's face may have is no ink), as "left top
// width height" from the rectangle's top left, or "none"; with --colour,
// the same for what is drawn in a colour rather than a grey.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
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
    if (args.size() == 5 && (args[0] == u"--ink" || args[0] == u"--colour")) {
        const QImage area =
                screen->grabWindow(0, args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt()).toImage();
        const QRgb ground = area.pixel(0, 0);
        const auto differ = [](int a, int b) { return qAbs(a - b) > 64; };
        const auto isInk = [&](QRgb p) {
            if (args[0] == u"--colour")
                return differ(qRed(p), qGreen(p)) || differ(qGreen(p), qBlue(p)) || differ(qBlue(p), qRed(p));
            return differ(qRed(p), qRed(ground)) || differ(qGreen(p), qGreen(ground))
                    || differ(qBlue(p), qBlue(ground));
        };
        QRect ink;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (isInk(area.pixel(x, y)))
                    ink |= QRect(x, y, 1, 1);
        QTextStream(stdout) << (ink.isNull()
                                        ? QStringLiteral("none")
                                        : QString::asprintf("%d %d %d %d", ink.x(), ink.y(), ink.width(), ink.height()))
                            << '\n';
        return 0;
    }
    if (args.isEmpty() || args.size() % 2 != 0) {
        QTextStream(stderr) << "usage: pixel-at X Y [X Y ...]\n       pixel-at --grab X Y WIDTH HEIGHT FILE.png\n"
                               "       pixel-at --ink|--colour X Y WIDTH HEIGHT\n";
        return 2;
    }
    QTextStream out(stdout);
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QImage pixel = screen->grabWindow(0, args[i].toInt(), args[i + 1].toInt(), 1, 1).toImage();
        out << QString::asprintf("%06x\n", pixel.pixel(0, 0) & 0xffffff);
    }
    return 0;
}
