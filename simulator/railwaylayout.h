// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the station holds at start-up: its locomotives and accessories with
// their identifiers, addresses, names and first state. Names are Latin-1
// bytes, as they travel in replies.

#include <QByteArray>
#include <QList>

struct RailwayLayout
{
    struct Locomotive
    {
        quint32 id = 0;
        int address = 0;
        QByteArray name;
        int speed = 0;
        int direction = 0;
        // Bit F set: function F is on.
        quint32 functions = 0;

        friend bool operator==(const Locomotive &, const Locomotive &) = default;
    };
    struct Accessory
    {
        quint32 id = 0;
        int address = 0;
        QByteArray name;
        int state = 0;

        friend bool operator==(const Accessory &, const Accessory &) = default;
    };

    // The railway the station holds when it is given no other.
    static RailwayLayout builtIn();

    QList<Locomotive> locomotives;
    QList<Accessory> accessories;

    friend bool operator==(const RailwayLayout &, const RailwayLayout &) = default;
};
