// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/pictureicon.h"

#include "artwork/artworkresource.h"

#include <QDir>

// The build renders each picture into a folder of its own, one PNG a size
// ("16x16.png"); Qt picks the one that fits the size and the screen's density
// and greys it for a disabled control.
QIcon pictureIcon(const QString &svgFileName, const QList<QSize> &)
{
    registerArtwork();
    const QDir folder(svgFileName.chopped(QStringLiteral(".svg").size()));
    QIcon icon;
    for (const QString &file : folder.entryList({QStringLiteral("*.png")}, QDir::Files))
        icon.addFile(folder.filePath(file));
    return icon;
}
