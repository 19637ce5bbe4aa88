// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "station.h"

#include <optional>

namespace {

bool isPlain(const ParsedCommand::Argument &attribute, QByteArrayView name)
{
    return attribute.name == name && !attribute.hasValues;
}

std::optional<int> numberIn(const QByteArray &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// The one value of `attribute` as a number within [low, high].
std::optional<int> onlyValue(const ParsedCommand::Argument &attribute, int low, int high)
{
    if (attribute.values.size() != 1)
        return std::nullopt;
    return numberIn(attribute.values.first(), low, high);
}

// " name[value]", in one allocation: every attribute of every reply is one.
QByteArray field(QByteArrayView name, QByteArrayView value)
{
    QByteArray text;
    text.reserve(name.size() + value.size() + 3);
    return text.append(' ').append(name).append('[').append(value).append(']');
}

QByteArray field(QByteArrayView name, int value)
{
    return field(name, QByteArray::number(value));
}

QByteArray quoted(const QByteArray &text)
{
    return '"' + text + '"';
}

} // namespace

Station::Station() : Station(RailwayLayout::builtIn()) {}

Station::Station(const RailwayLayout &layout)
{
    for (const RailwayLayout::Locomotive &loco : layout.locomotives) {
        m_locomotives.insert(loco.id, {loco.address, loco.name, loco.speed, loco.direction, loco.functions});
    }
    for (const RailwayLayout::Accessory &accessory : layout.accessories)
        m_accessories.insert(accessory.id, {accessory.address, accessory.name, accessory.state});
}

QByteArray Station::execute(int client, QByteArrayView command)
{
    StationChange ignored;
    return execute(client, command, ignored);
}

QByteArray Station::execute(int client, QByteArrayView command, StationChange &told)
{
    told = StationChange();
    ReplyBlock reply(command);
    const ParsedCommand parsed = ParsedCommand::parse(command);
    const Handler handler = parsed.isValid() ? handlerFor(parsed.verb()) : nullptr;
    ReplyStatus status = ReplyStatus::SyntaxError;
    if (handler)
        status = (this->*handler)(client, parsed.arguments(), reply, told);
    else if (parsed.isValid())
        status = ReplyStatus::UnknownCommand;
    if (status != ReplyStatus::Ok) {
        told = StationChange();
        told.kind = StationChange::Kind::Refused;
        told.status = status;
    }
    return reply.finished(status);
}

StationChange Station::releaseClient(int client)
{
    StationChange told;
    for (auto loco = m_locomotives.begin(); loco != m_locomotives.end(); ++loco) {
        if (loco->controller == client) {
            loco->controller = 0;
            told.freed.append({true, loco.key()});
        }
    }
    for (auto accessory = m_accessories.begin(); accessory != m_accessories.end(); ++accessory) {
        if (accessory->controller == client) {
            accessory->controller = 0;
            told.freed.append({false, accessory.key()});
        }
    }
    if (!told.freed.isEmpty())
        told.kind = StationChange::Kind::Freed;
    return told;
}

Station::Handler Station::handlerFor(const QByteArray &verb)
{
    static const QMap<QByteArray, Handler> handlers = {
            {"set", &Station::set},
            {"get", &Station::get},
            {"request", &Station::request},
            {"release", &Station::release},
            {"queryObjects", &Station::queryObjects},
    };
    return handlers.value(verb, nullptr);
}

// 0, which names no object, when the first argument is not a plain number.
quint32 Station::objectId(const Arguments &arguments)
{
    if (arguments.isEmpty() || arguments.first().hasValues)
        return 0;
    bool ok = false;
    const quint32 id = arguments.first().name.toUInt(&ok);
    return ok ? id : 0;
}

bool Station::exists(quint32 id) const
{
    return id == kStationObject || m_locomotives.contains(id) || m_accessories.contains(id);
}

int *Station::controllerOf(quint32 id)
{
    if (const auto loco = m_locomotives.find(id); loco != m_locomotives.end())
        return &loco->controller;
    if (const auto accessory = m_accessories.find(id); accessory != m_accessories.end())
        return &accessory->controller;
    return nullptr;
}

ReplyStatus Station::set(int client, const Arguments &arguments, ReplyBlock &, StationChange &told)
{
    const quint32 id = objectId(arguments);
    told.object.id = id;
    if (id == kStationObject)
        return setPower(arguments, told);
    if (const auto loco = m_locomotives.find(id); loco != m_locomotives.end())
        return changeAll(client, *loco, arguments, told);
    if (const auto accessory = m_accessories.find(id); accessory != m_accessories.end())
        return changeAll(client, *accessory, arguments, told);
    return ReplyStatus::UnknownObject;
}

// Track power is everyone's: it needs no control.
ReplyStatus Station::setPower(const Arguments &arguments, StationChange &told)
{
    if (arguments.size() != 2)
        return ReplyStatus::BadAttribute;
    const bool before = m_powerOn;
    if (isPlain(arguments[1], "go"))
        m_powerOn = true;
    else if (isPlain(arguments[1], "stop"))
        m_powerOn = false;
    else
        return ReplyStatus::BadAttribute;
    told.kind = StationChange::Kind::Power;
    told.powerOn = m_powerOn;
    told.unchanged = m_powerOn == before;
    return ReplyStatus::Ok;
}

template <typename Object>
ReplyStatus Station::changeAll(int client, Object &object, const Arguments &arguments, StationChange &told)
{
    if (object.controller != client)
        return ReplyStatus::ControlNotHeld;
    if (arguments.size() < 2)
        return ReplyStatus::BadAttribute;
    // All or nothing: one bad attribute leaves the object as it was.
    Object changed = object;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (const ReplyStatus status = change(changed, arguments[i]); status != ReplyStatus::Ok)
            return status;
    }
    tell(object, changed, arguments, told);
    object = changed;
    return ReplyStatus::Ok;
}

void Station::tell(const Locomotive &before, const Locomotive &after, const Arguments &arguments, StationChange &told)
{
    told.kind = StationChange::Kind::Locomotive;
    told.name = after.name;
    told.speed = after.speed;
    told.direction = after.dir;
    told.functions = after.functions;
    // Every attribute has been checked by now: a function's number is valid.
    for (const Argument &attribute : arguments.sliced(1)) {
        if (attribute.name == "func")
            told.functionsSet |= 1u << attribute.values.first().toInt();
        else
            told.drivingSet = true;
    }
    told.unchanged = before.speed == after.speed && before.dir == after.dir && before.functions == after.functions;
}

void Station::tell(const Accessory &before, const Accessory &after, const Arguments &, StationChange &told)
{
    told.kind = StationChange::Kind::Accessory;
    told.object.isLocomotive = false;
    told.name = after.name1;
    told.state = after.state;
    told.unchanged = before.state == after.state;
}

ReplyStatus Station::change(Locomotive &loco, const Argument &attribute)
{
    if (attribute.name == "speed") {
        const auto speed = onlyValue(attribute, 0, kMaxSpeed);
        if (!speed)
            return ReplyStatus::BadValue;
        loco.speed = *speed;
    } else if (attribute.name == "dir") {
        const auto dir = onlyValue(attribute, 0, 1);
        if (!dir)
            return ReplyStatus::BadValue;
        loco.dir = *dir;
    } else if (attribute.name == "func") {
        if (attribute.values.size() != 2)
            return ReplyStatus::BadValue;
        const auto function = numberIn(attribute.values[0], 0, kFunctionCount - 1);
        const auto on = numberIn(attribute.values[1], 0, 1);
        if (!function || !on)
            return ReplyStatus::BadValue;
        const quint32 bit = 1u << *function;
        loco.functions = *on ? loco.functions | bit : loco.functions & ~bit;
    } else {
        return ReplyStatus::BadAttribute;
    }
    return ReplyStatus::Ok;
}

ReplyStatus Station::change(Accessory &accessory, const Argument &attribute)
{
    if (attribute.name != "state")
        return ReplyStatus::BadAttribute;
    const auto state = onlyValue(attribute, 0, 1);
    if (!state)
        return ReplyStatus::BadValue;
    accessory.state = *state;
    return ReplyStatus::Ok;
}

ReplyStatus Station::get(int, const Arguments &arguments, ReplyBlock &reply, StationChange &)
{
    const quint32 id = objectId(arguments);
    if (!exists(id))
        return ReplyStatus::UnknownObject;
    if (arguments.size() < 2)
        return ReplyStatus::BadAttribute;
    QByteArray line = QByteArray::number(id);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (const ReplyStatus status = describe(id, arguments[i], line); status != ReplyStatus::Ok)
            return status;
    }
    reply.addLine(line);
    return ReplyStatus::Ok;
}

ReplyStatus Station::describe(quint32 id, const Argument &attribute, QByteArray &line) const
{
    if (const auto loco = m_locomotives.find(id); loco != m_locomotives.end())
        return describe(*loco, attribute, line);
    if (const auto accessory = m_accessories.find(id); accessory != m_accessories.end())
        return describe(*accessory, attribute, line);
    if (!isPlain(attribute, "status"))
        return ReplyStatus::BadAttribute;
    line += field("status", m_powerOn ? "go" : "stop");
    return ReplyStatus::Ok;
}

ReplyStatus Station::describe(const Locomotive &loco, const Argument &attribute, QByteArray &line)
{
    if (attribute.name == "func" && attribute.hasValues) {
        const auto function = onlyValue(attribute, 0, kFunctionCount - 1);
        if (!function)
            return ReplyStatus::BadValue;
        const int on = (loco.functions >> *function) & 1u;
        line += field("func", QByteArray::number(*function) + ", " + QByteArray::number(on));
    } else if (attribute.hasValues) {
        return ReplyStatus::BadAttribute;
    } else if (attribute.name == "addr") {
        line += field("addr", loco.addr);
    } else if (attribute.name == "name") {
        line += field("name", quoted(loco.name));
    } else if (attribute.name == "speed") {
        line += field("speed", loco.speed);
    } else if (attribute.name == "dir") {
        line += field("dir", loco.dir);
    } else {
        return ReplyStatus::BadAttribute;
    }
    return ReplyStatus::Ok;
}

ReplyStatus Station::describe(const Accessory &accessory, const Argument &attribute, QByteArray &line)
{
    if (isPlain(attribute, "addr"))
        line += field("addr", accessory.addr);
    else if (isPlain(attribute, "name1"))
        line += field("name1", quoted(accessory.name1));
    else if (isPlain(attribute, "state"))
        line += field("state", accessory.state);
    else
        return ReplyStatus::BadAttribute;
    return ReplyStatus::Ok;
}

ReplyStatus Station::queryObjects(int, const Arguments &arguments, ReplyBlock &reply, StationChange &)
{
    const quint32 list = objectId(arguments);
    const Arguments attributes = arguments.mid(1);
    if (list == kLocomotiveList)
        return listAll(m_locomotives, attributes, reply);
    if (list == kAccessoryList)
        return listAll(m_accessories, attributes, reply);
    return ReplyStatus::UnknownObject;
}

template <typename Object>
ReplyStatus Station::listAll(const QMap<quint32, Object> &objects, const Arguments &attributes, ReplyBlock &reply)
{
    QList<QByteArray> lines;
    for (auto object = objects.begin(); object != objects.end(); ++object) {
        QByteArray line = QByteArray::number(object.key());
        for (const Argument &attribute : attributes) {
            if (const ReplyStatus status = describe(*object, attribute, line); status != ReplyStatus::Ok)
                return status;
        }
        lines.append(line);
    }
    for (const QByteArray &line : lines)
        reply.addLine(line);
    return ReplyStatus::Ok;
}

ReplyStatus Station::request(int client, const Arguments &arguments, ReplyBlock &, StationChange &told)
{
    int *controller = nullptr;
    if (const ReplyStatus status = controlTarget(arguments, controller, told); status != ReplyStatus::Ok)
        return status;
    if (*controller != 0 && *controller != client)
        return ReplyStatus::ControlHeldElsewhere;
    told.kind = StationChange::Kind::Taken;
    told.unchanged = *controller == client;
    *controller = client;
    return ReplyStatus::Ok;
}

ReplyStatus Station::release(int client, const Arguments &arguments, ReplyBlock &, StationChange &told)
{
    int *controller = nullptr;
    if (const ReplyStatus status = controlTarget(arguments, controller, told); status != ReplyStatus::Ok)
        return status;
    if (*controller != client)
        return ReplyStatus::ControlNotHeld;
    told.kind = StationChange::Kind::Released;
    *controller = 0;
    return ReplyStatus::Ok;
}

// The controller slot that request(id, control) or release(id, control)
// names, and the object it belongs to.
ReplyStatus Station::controlTarget(const Arguments &arguments, int *&controller, StationChange &told)
{
    const quint32 id = objectId(arguments);
    if (!exists(id))
        return ReplyStatus::UnknownObject;
    controller = controllerOf(id);
    if (!controller || arguments.size() != 2 || !isPlain(arguments[1], "control"))
        return ReplyStatus::BadAttribute;
    told.object = {m_locomotives.contains(id), id};
    return ReplyStatus::Ok;
}
