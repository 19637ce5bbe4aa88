// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The pictures the two programs' windows show, by the resource name of their
// SVG artwork (":/artwork/icon.svg"). Where Qt draws SVG, they are drawn from
// it at whatever size is asked for; on Windows they are the PNGs the build
// renders from the same artwork into a folder of the same name without
// ".svg", at the sizes the windows show them and twice those. A picture with
// no folder is a null icon: a Windows window then shows its program's own
// icon.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

// `sizes` are the sizes the picture is offered in (a window icon's list).
QIcon pictureIcon(const QString &svgFileName, const QList<QSize> &sizes = {});

// The icon both programs' windows carry.
QIcon programIcon();

// The size in pixels the picture is drawn at, its SVG's width and height:
// the size a control shows it at. The build renders it at that size for
// Windows, reading the same two numbers.
QSize pictureSize(const QString &svgFileName);
