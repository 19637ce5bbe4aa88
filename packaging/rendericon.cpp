// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders one of the program's SVG pictures to PNG at a given size, for the
// icon theme's fixed-size folders and for the Windows build, which draws
// PNGs; to a Windows .ico holding it at several sizes; or to a bitmap of
// another size with the picture in its middle, on white, for the Windows
// installer's pages. Runs at build time, with no display.

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

// "32" is a square, "140x36" a width and a height; each from 1 to 1024.
QSize parseSize(const QString &text)
{
    const QStringList parts = text.split(u'x');
    if (parts.size() > 2)
        return {};
    bool okWidth = false;
    bool okHeight = false;
    const int width = parts.first().toInt(&okWidth);
    const int height = parts.last().toInt(&okHeight);
    if (!okWidth || !okHeight || width < 1 || width > 1024 || height < 1 || height > 1024)
        return {};
    return {width, height};
}

QImage render(QSvgRenderer &renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(image.rect()));
    painter.end();
    return image;
}

template <typename Number>
void appendLittleEndian(QByteArray &bytes, Number value)
{
    char raw[sizeof(Number)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(Number));
}

// An .ico is a directory of images; each is stored as a whole PNG, which
// Windows reads from Vista on. A side of 256 is written as 0.
QByteArray icoFile(const QList<QImage> &images)
{
    QList<QByteArray> pngs;
    for (const QImage &image : images) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        pngs.append(png.data());
    }
    QByteArray ico;
    appendLittleEndian<quint16>(ico, 0);
    appendLittleEndian<quint16>(ico, 1);
    appendLittleEndian<quint16>(ico, quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        ico.append(char(images[i].width() & 0xff));
        ico.append(char(images[i].height() & 0xff));
        ico.append(2, '\0');
        appendLittleEndian<quint16>(ico, 1);
        appendLittleEndian<quint16>(ico, 32);
        appendLittleEndian<quint32>(ico, quint32(pngs[i].size()));
        appendLittleEndian<quint32>(ico, offset);
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray &png : pngs)
        ico += png;
    return ico;
}

// The picture in the middle of a white ground, without an alpha channel:
// the installer shows its bitmaps as they are.
QImage onGround(const QImage &picture, QSize ground)
{
    QImage image(ground, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage((ground.width() - picture.width()) / 2, (ground.height() - picture.height()) / 2, picture);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

int main(int argc, char *argv[])
{
    const QString outFile = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const bool ico = outFile.endsWith(u".ico");
    const bool bmp = outFile.endsWith(u".bmp");
    if (argc != (bmp ? 5 : 4)) {
        std::fprintf(stderr,
                     "usage: render-icon PICTURE.svg SIZE OUT.png\n"
                     "       render-icon PICTURE.svg SIZE[,SIZE...] OUT.ico\n"
                     "       render-icon PICTURE.svg SIZE OUT.bmp GROUND-SIZE\n"
                     "SIZE is a side (32) or a width and a height (140x36)\n");
        return 2;
    }
    QList<QSize> sizes;
    for (const QString &text : QString::fromLocal8Bit(argv[2]).split(u','))
        sizes.append(parseSize(text));
    const QSize ground = bmp ? parseSize(QString::fromLocal8Bit(argv[4])) : QSize();
    if (sizes.contains(QSize()) || (!ico && sizes.size() != 1) || (ico && sizes.size() > 16)
        || (bmp && !ground.isValid())) {
        std::fprintf(stderr,
                     "render-icon: SIZE must be from 1 to 1024, one for a PNG or a BMP, up to 16 for an .ico\n");
        return 2;
    }

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QList<QImage> images;
    for (QSize size : sizes)
        images.append(render(renderer, size));
    QFile out(outFile);
    bool written = false;
    if (ico)
        written = out.open(QIODevice::WriteOnly) && out.write(icoFile(images)) > 0 && out.flush();
    else if (bmp)
        written = onGround(images.first(), ground).save(outFile, "BMP");
    else
        written = images.first().save(outFile, "PNG");
    if (!written) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
