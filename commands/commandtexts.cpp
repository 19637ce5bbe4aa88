// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commands/commandtexts.h"

#include "common/numbertext.h"

namespace Commands {

using namespace Qt::StringLiterals;

namespace {

QString takeControl(const QString &object)
{
    return u"request("_s + object + u", control)"_s;
}

QString releaseControl(const QString &object)
{
    return u"release("_s + object + u", control)"_s;
}

QString setFunction(const QString &locomotive, const QString &function, const QString &onOff)
{
    return u"set("_s + locomotive + u", func["_s + function + u", "_s + onOff + u"])"_s;
}

QString setState(const QString &accessory, const QString &state)
{
    return u"set("_s + accessory + u", state["_s + state + u"])"_s;
}

} // namespace

QString powerOn()
{
    return QStringLiteral("set(1, go)");
}
QString powerOff()
{
    return QStringLiteral("set(1, stop)");
}

QString takeLocomotive(const QString &locomotive)
{
    return takeControl(locomotive);
}
QString releaseLocomotive(const QString &locomotive)
{
    return releaseControl(locomotive);
}

QString setSpeed(const QString &locomotive, qint32 speed)
{
    return u"set("_s + locomotive + u", speed["_s + NumberText::plainDecimal(speed) + u"])"_s;
}

QString driveForward(const QString &locomotive)
{
    return setDirection(locomotive, 0);
}
QString driveBackward(const QString &locomotive)
{
    return setDirection(locomotive, 1);
}

QString askDirection(const QString &locomotive)
{
    return u"get("_s + locomotive + u", dir)"_s;
}

QString setDirection(const QString &locomotive, qint16 direction)
{
    return u"set("_s + locomotive + u", dir["_s + NumberText::plainDecimal(direction) + u"])"_s;
}

QString functionOn(const QString &locomotive, const QString &function)
{
    return setFunction(locomotive, function, u"1"_s);
}
QString functionOff(const QString &locomotive, const QString &function)
{
    return setFunction(locomotive, function, u"0"_s);
}

QString takeAccessory(const QString &accessory)
{
    return takeControl(accessory);
}
QString releaseAccessory(const QString &accessory)
{
    return releaseControl(accessory);
}
QString accessoryOn(const QString &accessory)
{
    return setState(accessory, u"1"_s);
}
QString accessoryOff(const QString &accessory)
{
    return setState(accessory, u"0"_s);
}

QString listLocomotives()
{
    return QStringLiteral("queryObjects(10, addr, name)");
}
QString listAccessories()
{
    return QStringLiteral("queryObjects(11, addr, name1)");
}
QString freeCommand(const QString &typed)
{
    return typed;
}

} // namespace Commands
