// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the program's SVG icon to a square PNG of the given size, for the
// icon theme's fixed-size folders. Runs at build time, with no display.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render-icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    const QString svgFile = QString::fromLocal8Bit(argv[1]);
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    const QString pngFile = QString::fromLocal8Bit(argv[3]);
    if (!ok || size < 1 || size > 1024) {
        std::fprintf(stderr, "render-icon: SIZE must be a number from 1 to 1024\n");
        return 2;
    }

    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(image.rect()));
    painter.end();
    if (!image.save(pngFile, "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
