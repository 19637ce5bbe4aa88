// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stationchange.h"

#include <QStringList>

#include <bit>

using namespace Qt::StringLiterals;

namespace {

QString onOff(bool on)
{
    return on ? u"on"_s : u"off"_s;
}

// Names come from the railway file or the built-in railway: shown as the
// reply echoes commands, so that no byte of one can break the console.
QString shown(const QByteArray &name)
{
    return QString::fromLatin1(ReplyBlock::printable(name));
}

} // namespace

QString StationChange::noun(const Object &object)
{
    return (object.isLocomotive ? u"locomotive "_s : u"accessory "_s) + QString::number(object.id);
}

QList<int> StationChange::functionNumbers(quint32 bits)
{
    QList<int> numbers;
    for (quint32 rest = bits; rest != 0; rest &= rest - 1)
        numbers.append(std::countr_zero(rest));
    return numbers;
}

QString StationChange::words(const QString &peer) const
{
    switch (kind) {
    case Kind::None:
        return QString();
    case Kind::Refused:
        return u"refused: "_s + QString::fromLatin1(ReplyBlock::statusText(status));
    case Kind::Power:
        return unchanged ? u"nothing changed: power was already "_s + onOff(powerOn) : u"power "_s + onOff(powerOn);
    case Kind::Locomotive:
    case Kind::Accessory:
        if (unchanged)
            return u"nothing changed: %1 was already so"_s.arg(noun(object));
        return kind == Kind::Locomotive ? locomotiveWords() : u"%1: state %2"_s.arg(noun(object)).arg(state);
    case Kind::Taken:
        return u"%1 %2 %3"_s.arg(peer, unchanged ? u"already controls"_s : u"now controls"_s, noun(object));
    case Kind::Released:
        return u"%1 released %2"_s.arg(peer, noun(object));
    case Kind::Freed: {
        QStringList objects;
        for (const Object &object : freed)
            objects.append(noun(object));
        return objects.join(u", "_s) + (objects.size() == 1 ? u" is free again"_s : u" are free again"_s);
    }
    }
    return QString();
}

// The driving state with the name, as an operator watches it; functions by
// number after it.
QString StationChange::locomotiveWords() const
{
    QStringList parts;
    QString head = noun(object);
    if (drivingSet) {
        head += u" \""_s + shown(name) + u'"';
        parts.append(u"speed %1, %2"_s.arg(speed).arg(direction == 0 ? u"forward"_s : u"backward"_s));
    }
    for (const int function : functionNumbers(functionsSet))
        parts.append(u"function %1 %2"_s.arg(function).arg(onOff(functions & (1u << function))));
    return head + u": "_s + parts.join(u", "_s);
}
