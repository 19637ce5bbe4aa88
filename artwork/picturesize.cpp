// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/pictureicon.h"

#include "artwork/artworkresource.h"

#include <QFile>
#include <QXmlStreamReader>

// Read from the SVG's own element, as plain XML, so every platform reads it
// the same way, with or without Qt SVG.
QSize pictureSize(const QString &svgFileName)
{
    registerArtwork();
    QFile file(svgFileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader svg(&file);
    if (!svg.readNextStartElement())
        return {};
    const QXmlStreamAttributes attributes = svg.attributes();
    return {attributes.value(QStringLiteral("width")).toInt(), attributes.value(QStringLiteral("height")).toInt()};
}
