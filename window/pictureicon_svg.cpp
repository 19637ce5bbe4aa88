// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pictureicon.h"

#include "window/svgiconengine.h"

QIcon pictureIcon(const QString &svgFileName, const QList<QSize> &sizes)
{
    return QIcon(new SvgIconEngine(svgFileName, sizes));
}
