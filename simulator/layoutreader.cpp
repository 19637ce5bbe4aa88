// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutreader.h"

#include "station.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>

#include <cmath>

namespace {

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a text");
    case QJsonValue::Array:
        return QStringLiteral("a list");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// A number as the user wrote it, near enough: whole ones without a point.
QString numberText(double number)
{
    if (number == std::floor(number) && std::abs(number) < 1e15)
        return QString::number(qint64(number));
    return QString::number(number, 'g', 10);
}

// "line L, column C" of the character at `offset`, counting characters
// rather than UTF-8 bytes.
QString lineAndColumn(const QByteArray &text, qsizetype offset)
{
    offset = qBound(qsizetype(0), offset, text.size());
    int line = 1;
    int column = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        const auto byte = quint8(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xc0) != 0x80) {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

// Text from the command line or the file, fit for a one-line message.
QString printable(QString text)
{
    for (QChar &character : text) {
        if (character.category() == QChar::Other_Control)
            character = u'?';
    }
    return text;
}

class Parser
{
public:
    std::optional<RailwayLayout> read(const QJsonDocument &document);
    LayoutReader::Problem problem;

private:
    bool fail(const QString &place, const QString &what)
    {
        problem = {place, what};
        return false;
    }
    bool checkFields(const QJsonObject &object, const QString &path, const QStringList &fields);
    bool readNumber(const QJsonValue &value, const QString &path, qint64 low, qint64 high, qint64 &number);
    template <typename Number>
    bool readField(const QJsonObject &object, const QString &path, const QString &name, qint64 low, qint64 high,
                   Number &number, bool required);
    bool readId(const QJsonObject &object, const QString &path, quint32 &id);
    bool readAddress(const QJsonObject &object, const QString &path, int last, QHash<int, QString> &owners,
                     int &number);
    bool readName(const QJsonObject &object, const QString &path, QByteArray &text);
    bool readFunctions(const QJsonObject &object, const QString &path, quint32 &bits);
    bool readLocomotive(const QJsonValue &value, const QString &path, RailwayLayout::Locomotive &loco);
    bool readAccessory(const QJsonValue &value, const QString &path, RailwayLayout::Accessory &accessory);
    bool readList(const QJsonObject &top, const QString &name, QJsonArray &items);

    QHash<quint32, QString> m_idOwners;
    QHash<int, QString> m_locomotiveAddresses;
    QHash<int, QString> m_accessoryAddresses;
};

std::optional<RailwayLayout> Parser::read(const QJsonDocument &document)
{
    if (!document.isObject()) {
        fail({},
             QStringLiteral("the layout must be an object holding \"locomotives\" and \"accessories\", not %1")
                     .arg(document.isArray() ? QStringLiteral("a list") : QStringLiteral("a single value")));
        return std::nullopt;
    }
    const QJsonObject top = document.object();
    QJsonArray locomotives;
    QJsonArray accessories;
    if (!checkFields(top, {}, {QStringLiteral("locomotives"), QStringLiteral("accessories")})
        || !readList(top, QStringLiteral("locomotives"), locomotives)
        || !readList(top, QStringLiteral("accessories"), accessories))
        return std::nullopt;

    RailwayLayout layout;
    for (qsizetype i = 0; i < locomotives.size(); ++i) {
        RailwayLayout::Locomotive loco;
        if (!readLocomotive(locomotives[i], QStringLiteral("locomotives[%1]").arg(i), loco))
            return std::nullopt;
        layout.locomotives.append(loco);
    }
    for (qsizetype i = 0; i < accessories.size(); ++i) {
        RailwayLayout::Accessory item;
        if (!readAccessory(accessories[i], QStringLiteral("accessories[%1]").arg(i), item))
            return std::nullopt;
        layout.accessories.append(item);
    }
    return layout;
}

bool Parser::readList(const QJsonObject &top, const QString &name, QJsonArray &items)
{
    const QJsonValue value = top.value(name);
    if (value.isUndefined())
        return fail(name, QStringLiteral("is missing (it may be an empty list, [])"));
    if (!value.isArray())
        return fail(name, QStringLiteral("must be a list, not %1").arg(kindOf(value)));
    items = value.toArray();
    return true;
}

// A misspelt field would otherwise be dropped without a word.
bool Parser::checkFields(const QJsonObject &object, const QString &path, const QStringList &fields)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!fields.contains(it.key())) {
            const qsizetype most = LayoutReader::kMaxNameLength;
            const QString key =
                    printable(it.key().size() > most ? it.key().first(most) + QStringLiteral("...") : it.key());
            const QString place = path.isEmpty() ? key : path + u'.' + key;
            return fail(place,
                        QStringLiteral("is not a field here; the fields are \"%1\"")
                                .arg(fields.join(QStringLiteral("\", \""))));
        }
    }
    return true;
}

bool Parser::readNumber(const QJsonValue &value, const QString &path, qint64 low, qint64 high, qint64 &number)
{
    const QString wanted = QStringLiteral("must be a whole number from %1 to %2, not ").arg(low).arg(high);
    if (!value.isDouble())
        return fail(path, wanted + kindOf(value));
    const double given = value.toDouble();
    if (given != std::floor(given) || given < double(low) || given > double(high))
        return fail(path, wanted + numberText(given));
    number = qint64(given);
    return true;
}

template <typename Number>
bool Parser::readField(const QJsonObject &object, const QString &path, const QString &name, qint64 low, qint64 high,
                       Number &number, bool required)
{
    const QString place = path + u'.' + name;
    const QJsonValue value = object.value(name);
    if (value.isUndefined())
        return required ? fail(place, QStringLiteral("is missing")) : true;
    qint64 given = 0;
    if (!readNumber(value, place, low, high, given))
        return false;
    number = Number(given);
    return true;
}

bool Parser::readId(const QJsonObject &object, const QString &path, quint32 &id)
{
    const QString place = path + QStringLiteral(".id");
    const QJsonValue value = object.value(QStringLiteral("id"));
    if (value.isUndefined())
        return fail(place, QStringLiteral("is missing"));
    if (value.isDouble()) {
        // The numbers the station keeps for itself get a word of their own.
        const double given = value.toDouble();
        if (given == Station::kStationObject)
            return fail(place, QStringLiteral("1 is the station itself"));
        if (given == Station::kLocomotiveList)
            return fail(place, QStringLiteral("10 is the list of locomotives"));
        if (given == Station::kAccessoryList)
            return fail(place, QStringLiteral("11 is the list of accessories"));
    }
    qint64 given = 0;
    if (!readNumber(value, place, LayoutReader::kFirstId, LayoutReader::kLastId, given))
        return false;
    id = quint32(given);
    if (const QString owner = m_idOwners.value(id); !owner.isEmpty())
        return fail(place, QStringLiteral("%1 is already the identifier of %2").arg(id).arg(owner));
    m_idOwners.insert(id, path);
    return true;
}

bool Parser::readAddress(const QJsonObject &object, const QString &path, int last, QHash<int, QString> &owners,
                         int &number)
{
    if (!readField(object, path, QStringLiteral("address"), 1, last, number, true))
        return false;
    if (const QString owner = owners.value(number); !owner.isEmpty())
        return fail(path + QStringLiteral(".address"),
                    QStringLiteral("%1 is already the address of %2").arg(number).arg(owner));
    owners.insert(number, path);
    return true;
}

// Names travel in replies as name["..."], one Latin-1 byte a character: a
// double quote or a control character would break the reply for whoever
// reads it.
bool Parser::readName(const QJsonObject &object, const QString &path, QByteArray &text)
{
    const QString place = path + QStringLiteral(".name");
    const QJsonValue value = object.value(QStringLiteral("name"));
    if (value.isUndefined())
        return fail(place, QStringLiteral("is missing"));
    if (!value.isString())
        return fail(place, QStringLiteral("must be a text, not %1").arg(kindOf(value)));
    const QList<uint> characters = value.toString().toUcs4();
    if (characters.isEmpty())
        return fail(place, QStringLiteral("must not be empty"));
    if (characters.size() > LayoutReader::kMaxNameLength)
        return fail(place,
                    QStringLiteral("must have at most %1 characters, not %2")
                            .arg(LayoutReader::kMaxNameLength)
                            .arg(characters.size()));
    for (const uint character : characters) {
        if (character == '"')
            return fail(place, QStringLiteral("must not hold a double quote (\")"));
        const bool control = character < 0x20 || (character >= 0x7f && character < 0xa0);
        if (control || character > 0xff) {
            const QString code = QStringLiteral("U+%1").arg(QString::number(character, 16).toUpper(), 4, u'0');
            return fail(place,
                        control ? QStringLiteral("must not hold the control character %1").arg(code)
                                : QStringLiteral("must hold Latin-1 characters only, not %1").arg(code));
        }
    }
    text = value.toString().toLatin1();
    return true;
}

bool Parser::readFunctions(const QJsonObject &object, const QString &path, quint32 &bits)
{
    const QString place = path + QStringLiteral(".functions");
    const QJsonValue value = object.value(QStringLiteral("functions"));
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return fail(place, QStringLiteral("must be a list of the functions that are on, not %1").arg(kindOf(value)));
    const QJsonArray numbers = value.toArray();
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QString itemPlace = QStringLiteral("%1[%2]").arg(place).arg(i);
        qint64 function = 0;
        if (!readNumber(numbers[i], itemPlace, 0, Station::kFunctionCount - 1, function))
            return false;
        const quint32 bit = 1u << function;
        if (bits & bit)
            return fail(itemPlace, QStringLiteral("function %1 is listed twice").arg(function));
        bits |= bit;
    }
    return true;
}

bool Parser::readLocomotive(const QJsonValue &value, const QString &path, RailwayLayout::Locomotive &loco)
{
    if (!value.isObject())
        return fail(path, QStringLiteral("must be an object, not %1").arg(kindOf(value)));
    const QJsonObject object = value.toObject();
    return checkFields(object, path,
                       {QStringLiteral("id"), QStringLiteral("address"), QStringLiteral("name"),
                        QStringLiteral("speed"), QStringLiteral("direction"), QStringLiteral("functions")})
            && readId(object, path, loco.id)
            && readAddress(object, path, LayoutReader::kLastLocomotiveAddress, m_locomotiveAddresses, loco.address)
            && readName(object, path, loco.name)
            && readField(object, path, QStringLiteral("speed"), 0, Station::kMaxSpeed, loco.speed, false)
            && readField(object, path, QStringLiteral("direction"), 0, 1, loco.direction, false)
            && readFunctions(object, path, loco.functions);
}

bool Parser::readAccessory(const QJsonValue &value, const QString &path, RailwayLayout::Accessory &accessory)
{
    if (!value.isObject())
        return fail(path, QStringLiteral("must be an object, not %1").arg(kindOf(value)));
    const QJsonObject object = value.toObject();
    return checkFields(
                   object, path,
                   {QStringLiteral("id"), QStringLiteral("address"), QStringLiteral("name"), QStringLiteral("state")})
            && readId(object, path, accessory.id)
            && readAddress(object, path, LayoutReader::kLastAccessoryAddress, m_accessoryAddresses, accessory.address)
            && readName(object, path, accessory.name)
            && readField(object, path, QStringLiteral("state"), 0, 1, accessory.state, false);
}

} // namespace

std::optional<RailwayLayout> LayoutReader::parse(const QByteArray &json, Problem *problem)
{
    // The JSON reader itself refuses nesting deeper than 1024 levels, and a
    // layout nests four deep: nothing below walks the document recursively.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        // The reader's offset lies just past the character it stumbled on,
        // but on it for these two.
        const bool onIt =
                error.error == QJsonParseError::GarbageAtEnd || error.error == QJsonParseError::IllegalUTF8String;
        *problem = {lineAndColumn(json, onIt ? error.offset : error.offset - 1), error.errorString()};
        return std::nullopt;
    }
    Parser parser;
    std::optional<RailwayLayout> layout = parser.read(document);
    if (!layout)
        *problem = parser.problem;
    return layout;
}

std::optional<RailwayLayout> LayoutReader::readFile(const QString &path, QString *error)
{
    const QString file = QStringLiteral("Layout file %1").arg(printable(path));
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot be read: %2").arg(file, input.errorString());
        return std::nullopt;
    }
    const QString tooLarge = QStringLiteral("%1: is larger than %2 MiB (%3 bytes), the most a layout file may hold")
                                     .arg(file)
                                     .arg(kMaxFileBytes / (1024 * 1024))
                                     .arg(kMaxFileBytes);
    // A file that says its size is refused unread; one that does not (a
    // device, a pipe) is read no further than one byte past the limit.
    if (input.size() > kMaxFileBytes) {
        *error = tooLarge;
        return std::nullopt;
    }
    const QByteArray json = input.read(kMaxFileBytes + 1);
    if (input.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: cannot be read: %2").arg(file, input.errorString());
        return std::nullopt;
    }
    if (json.size() > kMaxFileBytes) {
        *error = tooLarge;
        return std::nullopt;
    }
    Problem problem;
    std::optional<RailwayLayout> layout = parse(json, &problem);
    if (!layout) {
        const QString place = problem.place.isEmpty() ? QString() : QStringLiteral(", at ") + problem.place;
        *error = QStringLiteral("%1%2: %3").arg(file, place, problem.what);
    }
    return layout;
}
