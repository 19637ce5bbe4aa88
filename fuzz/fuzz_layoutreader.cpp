// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The layout reader on arbitrary file contents: a refusal says where and
// what in text free of control characters, so it stays one line; a layout
// it accepts holds only identifiers the station can serve, each once, and
// names that the station's replies carry whole, so every list reply has one
// line per object with the name as read.

#include <QByteArray>
#include <QSet>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "layoutreader.h"
#include "railwaylayout.h"
#include "station.h"

namespace {

void checkOneLine(const QString &text)
{
    for (const QChar character : text) {
        if (character.category() == QChar::Other_Control)
            std::abort();
    }
}

void checkId(quint32 id, QSet<quint32> &seen)
{
    if (id < 2 || id > 65535 || id == 10 || id == 11 || seen.contains(id))
        std::abort();
    seen.insert(id);
}

void checkName(const QByteArray &name)
{
    if (name.isEmpty() || name.size() > 64)
        std::abort();
    for (const char byte : name) {
        const auto code = uchar(byte);
        if (code < 0x20 || (code >= 0x7f && code < 0xa0) || byte == '"')
            std::abort();
    }
}

// The list reply: one line per object, in order of identifier, each naming
// it as the layout does.
template <typename Object>
void checkList(Station &station, const QByteArray &list, const QByteArray &nameField, QList<Object> objects)
{
    std::sort(objects.begin(), objects.end(), [](const Object &a, const Object &b) { return a.id < b.id; });
    const QByteArray query = "queryObjects(" + list + ", addr, " + nameField + ")";
    QByteArray lines;
    for (const Object &object : objects) {
        lines += QByteArray::number(object.id) + " addr[" + QByteArray::number(object.address) + "] " + nameField
                + "[\"" + object.name + "\"]\n";
    }
    if (station.execute(1, query) != "<REPLY " + query + ">\n" + lines + "<END 0 (OK)>\n")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    LayoutReader::Problem problem;
    const std::optional<RailwayLayout> layout = LayoutReader::parse(json, &problem);
    if (!layout) {
        if (problem.what.isEmpty())
            std::abort();
        checkOneLine(problem.place);
        checkOneLine(problem.what);
        return 0;
    }
    QSet<quint32> ids;
    for (const RailwayLayout::Locomotive &loco : layout->locomotives) {
        checkId(loco.id, ids);
        checkName(loco.name);
        if (loco.address < 1 || loco.address > 10239 || loco.speed < 0 || loco.speed > 127 || loco.direction < 0
            || loco.direction > 1)
            std::abort();
    }
    for (const RailwayLayout::Accessory &accessory : layout->accessories) {
        checkId(accessory.id, ids);
        checkName(accessory.name);
        if (accessory.address < 1 || accessory.address > 2048 || accessory.state < 0 || accessory.state > 1)
            std::abort();
    }
    Station station(*layout);
    checkList(station, "10", "name", layout->locomotives);
    checkList(station, "11", "name1", layout->accessories);
    return 0;
}
