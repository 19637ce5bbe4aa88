// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/pictureicon.h"

#include "artwork/artworkresource.h"
#include "artwork/svgiconengine.h"

QIcon pictureIcon(const QString &svgFileName, const QList<QSize> &sizes)
{
    registerArtwork();
    return QIcon(new SvgIconEngine(svgFileName, sizes));
}
