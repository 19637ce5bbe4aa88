// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reads a railway from a JSON file of the user's own: refuses the whole file,
// saying where and why, at the first thing that is wrong, so that the station
// never runs half a railway.

#include "railwaylayout.h"

#include <QByteArray>
#include <QString>

#include <optional>

class LayoutReader
{
public:
    // Larger files are refused before they are read: thousands of objects
    // fit in a fraction of this.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    static constexpr quint32 kFirstId = 2;
    static constexpr quint32 kLastId = 65535;
    static constexpr int kLastLocomotiveAddress = 10239;
    static constexpr int kLastAccessoryAddress = 2048;
    static constexpr int kMaxNameLength = 64;

    // Where a layout goes wrong: "line 3, column 14" for text that is not
    // JSON, a path such as "locomotives[2].speed" for a value that is wrong,
    // empty for the document as a whole; and what is wrong there.
    struct Problem
    {
        QString place;
        QString what;
    };

    static std::optional<RailwayLayout> parse(const QByteArray &json, Problem *problem);
    // The layout in the file at `path`, or nothing with `error` set to one
    // line that names the file, the place and what is wrong.
    static std::optional<RailwayLayout> readFile(const QString &path, QString *error);
};
