// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What one command did to the railway, told beside its reply: the object it
// changed and that object's state afterwards, that it was already so, or why
// it was refused. A client's leaving is told the same way: what it held is
// free again. The console prints it in words; reads tell nothing.

#include "replyblock.h"

#include <QByteArray>
#include <QList>
#include <QString>

class StationChange
{
public:
    enum class Kind : quint8 {
        // A command that only reads: nothing to tell.
        None,
        // Nothing carried out: `status` says why, as the reply does.
        Refused,
        Power,
        Locomotive,
        Accessory,
        // `object` taken or released by the client that sent the command.
        Taken,
        Released,
        // The client left: `freed` lists what it held.
        Freed,
    };
    struct Object
    {
        bool isLocomotive = true;
        quint32 id = 0;

        friend bool operator==(const Object &, const Object &) = default;
    };

    Kind kind = Kind::None;
    ReplyStatus status = ReplyStatus::Ok;
    // Carried out, but everything it set was already so.
    bool unchanged = false;
    Object object;
    QByteArray name;
    bool powerOn = false;
    // A locomotive: whether the command set its speed or direction, which
    // functions it named, and the state they have now.
    bool drivingSet = false;
    quint32 functionsSet = 0;
    int speed = 0;
    int direction = 0;
    quint32 functions = 0;
    int state = 0;
    QList<Object> freed;

    // One line in words, as the console prints it under the command;
    // `peer` is the client the command came from. Empty for reads.
    QString words(const QString &peer) const;

    // The words the console and the railway's window share: an object by
    // kind and number ("locomotive 1000"), and the numbers of the
    // functions set in `bits`, lowest first.
    static QString noun(const Object &object);
    static QList<int> functionNumbers(quint32 bits);

private:
    QString locomotiveWords() const;
};
