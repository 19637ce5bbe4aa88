// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The window's pictures by the name of their artwork ("icon",
// "loco-forward"). Where Qt draws SVG, they are drawn from the artwork at
// whatever size is asked for; elsewhere (Windows) they are the PNGs the build
// renders from the same artwork, at the sizes the window shows them and
// twice those.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

// `sizes` are the sizes the picture is offered in (a window icon's list).
QIcon pictureIcon(const QString &name, const QList<QSize> &sizes = {});
