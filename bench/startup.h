// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Runs a program that marks its first paint (see firstpaint.h) as a child
// process on the offscreen platform and measures it from the moment before
// it is started.

#include <QString>
#include <QStringList>

struct StartupSample
{
    bool ok = false;
    double toFirstPaintMs = 0;
    double peakRssMiB = 0;
};

StartupSample runToFirstPaint(const QString &program, const QStringList &arguments = {});
