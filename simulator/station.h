// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulated command station: the railway it was given, the state of every
// object in it, who holds control of what, and the reply to each command.
// Clients are told apart by a number the server gives each connection.
// Each command also tells what it changed; those who show the railway read
// its state here and change it only through commands.

#include "parsedcommand.h"
#include "railwaylayout.h"
#include "replyblock.h"
#include "stationchange.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>

class Station
{
public:
    static constexpr quint32 kStationObject = 1;
    static constexpr quint32 kLocomotiveList = 10;
    static constexpr quint32 kAccessoryList = 11;
    static constexpr int kMaxSpeed = 127;
    static constexpr int kFunctionCount = 32;

    // The built-in railway, or another one.
    Station();
    explicit Station(const RailwayLayout &layout);

    struct Locomotive
    {
        int addr = 0;
        QByteArray name;
        int speed = 0;
        int dir = 0;
        quint32 functions = 0;
        int controller = 0;
    };
    struct Accessory
    {
        int addr = 0;
        QByteArray name1;
        int state = 0;
        int controller = 0;
    };

    // Runs one command for `client` (any number but 0) and returns its
    // whole reply block; `told` says what it did.
    QByteArray execute(int client, QByteArrayView command, StationChange &told);
    QByteArray execute(int client, QByteArrayView command);
    // A client has gone: whatever it held control of is free again, and the
    // change tells what that was (none if it held nothing).
    StationChange releaseClient(int client);

    bool powerOn() const { return m_powerOn; }
    // Controller 0: nobody holds it.
    const QMap<quint32, Locomotive> &locomotives() const { return m_locomotives; }
    const QMap<quint32, Accessory> &accessories() const { return m_accessories; }

private:
    using Argument = ParsedCommand::Argument;
    using Arguments = QList<Argument>;
    using Handler = ReplyStatus (Station::*)(int, const Arguments &, ReplyBlock &, StationChange &);

    static Handler handlerFor(const QByteArray &verb);
    static quint32 objectId(const Arguments &arguments);

    ReplyStatus set(int client, const Arguments &arguments, ReplyBlock &reply, StationChange &told);
    ReplyStatus get(int client, const Arguments &arguments, ReplyBlock &reply, StationChange &told);
    ReplyStatus request(int client, const Arguments &arguments, ReplyBlock &reply, StationChange &told);
    ReplyStatus release(int client, const Arguments &arguments, ReplyBlock &reply, StationChange &told);
    ReplyStatus queryObjects(int client, const Arguments &arguments, ReplyBlock &reply, StationChange &told);

    ReplyStatus setPower(const Arguments &arguments, StationChange &told);
    static ReplyStatus change(Locomotive &loco, const Argument &attribute);
    static ReplyStatus change(Accessory &accessory, const Argument &attribute);
    template <typename Object>
    ReplyStatus changeAll(int client, Object &object, const Arguments &arguments, StationChange &told);
    static void tell(const Locomotive &before, const Locomotive &after, const Arguments &arguments,
                     StationChange &told);
    static void tell(const Accessory &before, const Accessory &after, const Arguments &arguments, StationChange &told);

    ReplyStatus describe(quint32 id, const Argument &attribute, QByteArray &line) const;
    static ReplyStatus describe(const Locomotive &loco, const Argument &attribute, QByteArray &line);
    static ReplyStatus describe(const Accessory &accessory, const Argument &attribute, QByteArray &line);
    template <typename Object>
    static ReplyStatus listAll(const QMap<quint32, Object> &objects, const Arguments &attributes, ReplyBlock &reply);

    ReplyStatus controlTarget(const Arguments &arguments, int *&controller, StationChange &told);
    int *controllerOf(quint32 id);
    bool exists(quint32 id) const;

    bool m_powerOn = false;
    QMap<quint32, Locomotive> m_locomotives;
    QMap<quint32, Accessory> m_accessories;
};
