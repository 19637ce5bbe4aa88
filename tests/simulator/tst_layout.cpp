// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutreader.h"
#include "railwaylayout.h"
#include "station.h"

#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "simulatorprocess.h"

namespace {

QByteArray reply(const QByteArray &command, const QByteArray &lines, const QByteArray &end = "0 (OK)")
{
    return "<REPLY " + command + ">\n" + lines + "<END " + end + ">\n";
}

// A layout of one locomotive with the given fields and no accessories.
QByteArray oneLocomotive(const QByteArray &fields)
{
    return R"({"locomotives": [{)" + fields + R"(}], "accessories": []})";
}

QByteArray oneAccessory(const QByteArray &fields)
{
    return R"({"locomotives": [], "accessories": [{)" + fields + "}]}";
}

const QByteArray kCustomLayout = R"json({
    "locomotives": [
        {"id": 7, "address": 10239, "name": "\u00c9lan \\ [x] (1)", "speed": 127, "direction": 1,
         "functions": [0, 31]},
        {"id": 65535, "address": 1, "name": "Shunter"},
        {"id": 2, "address": 2, "name": "1234567890123456789012345678901234567890123456789012345678901234"}
    ],
    "accessories": [
        {"id": 300, "address": 2048, "name": "Turnout", "state": 1},
        {"id": 301, "address": 1, "name": "Signal"}
    ]
})json";

QByteArray tooDeep()
{
    return QByteArray(100000, '[') + QByteArray(100000, ']');
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exampleIsTheBuiltInRailway();
    void customRailwayAnswers_data();
    void customRailwayAnswers();
    void refusesBadLayout_data();
    void refusesBadLayout();
    void refusesUnusableFile_data();
    void refusesUnusableFile();
    void programRefusesBadLayoutBeforeListening_data();
    void programRefusesBadLayoutBeforeListening();
    void programServesOwnRailway();

private:
    QString writeFile(const QString &name, const QByteArray &content);

    QTemporaryDir m_folder;
};

void TestLayout::initTestCase()
{
    QVERIFY(m_folder.isValid());
}

QString TestLayout::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return {};
    return path;
}

void TestLayout::exampleIsTheBuiltInRailway()
{
    QString error;
    const auto example = LayoutReader::readFile(QStringLiteral(EXAMPLE_LAYOUT), &error);
    QVERIFY2(example, qPrintable(error));
    QVERIFY(*example == RailwayLayout::builtIn());

    Station builtIn;
    Station loaded(*example);
    QByteArrayList queries = {"get(1, status)", "queryObjects(10, addr, name, speed, dir)",
                              "queryObjects(11, addr, name1, state)", "get(1004, name)", "get(20003, state)"};
    for (int function = 0; function < 32; ++function)
        queries.append("queryObjects(10, func[" + QByteArray::number(function) + "])");
    for (const QByteArray &query : queries)
        QCOMPARE(loaded.execute(1, query), builtIn.execute(1, query));
    QCOMPARE(loaded.execute(1, "queryObjects(10, addr, name)"),
             reply("queryObjects(10, addr, name)",
                   "1000 addr[3] name[\"Tank engine\"]\n1001 addr[24] name[\"M\xe1quina de maniobras\"]\n"
                   "1002 addr[78] name[\"Express\"]\n1003 addr[5] name[\"Freight diesel\"]\n"));
    QCOMPARE(loaded.execute(1, "queryObjects(11, addr, name1)"),
             reply("queryObjects(11, addr, name1)",
                   "20000 addr[1] name1[\"Station entrance\"]\n20001 addr[2] name1[\"Yard turnout\"]\n"
                   "20002 addr[3] name1[\"Home signal\"]\n"));
}

void TestLayout::customRailwayAnswers_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("locomotives with their start-up state")
            << QByteArray("queryObjects(10, addr, name, speed, dir)")
            << reply("queryObjects(10, addr, name, speed, dir)",
                     "2 addr[2] name[\"1234567890123456789012345678901234567890123456789012345678901234\"] "
                     "speed[0] dir[0]\n"
                     "7 addr[10239] name[\"\xc9lan \\ [x] (1)\"] speed[127] dir[1]\n"
                     "65535 addr[1] name[\"Shunter\"] speed[0] dir[0]\n");
    QTest::newRow("functions on at start-up")
            << QByteArray("get(7, func[0], func[1], func[31])")
            << reply("get(7, func[0], func[1], func[31])", "7 func[0, 1] func[1, 0] func[31, 1]\n");
    QTest::newRow("functions off when none are listed")
            << QByteArray("get(65535, func[0], func[31])")
            << reply("get(65535, func[0], func[31])", "65535 func[0, 0] func[31, 0]\n");
    QTest::newRow("accessories with their start-up state")
            << QByteArray("queryObjects(11, addr, name1, state)")
            << reply("queryObjects(11, addr, name1, state)",
                     "300 addr[2048] name1[\"Turnout\"] state[1]\n301 addr[1] name1[\"Signal\"] state[0]\n");
    QTest::newRow("built-in locomotive gone")
            << QByteArray("get(1000, name)") << reply("get(1000, name)", {}, "3 (unknown object)");
    QTest::newRow("built-in accessory gone")
            << QByteArray("request(20000, control)") << reply("request(20000, control)", {}, "3 (unknown object)");
    QTest::newRow("power still off") << QByteArray("get(1, status)") << reply("get(1, status)", "1 status[stop]\n");
}

void TestLayout::customRailwayAnswers()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);

    LayoutReader::Problem problem;
    const auto layout = LayoutReader::parse(kCustomLayout, &problem);
    QVERIFY2(layout, qPrintable(problem.place + u' ' + problem.what));
    Station station(*layout);
    QCOMPARE(station.execute(1, command), expected);
}

void TestLayout::refusesBadLayout_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("what");

    const QByteArray loco = R"("id": 1000, "address": 3, "name": "A")";
    QTest::newRow("not JSON") << QByteArray("hello") << "line 1, column 1"
                              << "illegal value";
    QTest::newRow("empty file") << QByteArray() << "line 1, column 1"
                                << "illegal value";
    QTest::newRow("missing comma, third line")
            << QByteArray("{\n  \"locomotives\": []\n  \"accessories\": []\n}") << "line 3, column 3"
            << "unterminated object";
    QTest::newRow("columns count characters, not bytes")
            << QByteArray("{\"a\": \"M\xc3\xa1quina\" x}") << "line 1, column 17"
            << "unterminated object";
    QTest::newRow("garbage after the layout")
            << QByteArray("{\"locomotives\": [], \"accessories\": []}\n}") << "line 2, column 1"
            << "garbage";
    QTest::newRow("not UTF-8") << oneLocomotive(R"("id": 1000, "address": 3, "name": "M)"
                                                "\xe1"
                                                R"(quina")")
                               << "line 1, column 55"
                               << "invalid UTF8";
    QTest::newRow("nested 100000 deep") << tooDeep() << "line 1, column 1025"
                                        << "too deeply nested";

    QTest::newRow("a list, not an object") << QByteArray("[]") << ""
                                           << "must be an object";
    QTest::newRow("locomotives missing") << QByteArray(R"({"accessories": []})") << "locomotives"
                                         << "is missing";
    QTest::newRow("accessories missing") << QByteArray(R"({"locomotives": []})") << "accessories"
                                         << "is missing";
    QTest::newRow("accessories an object") << QByteArray(R"({"locomotives": [], "accessories": {}})") << "accessories"
                                           << "must be a list, not an object";
    QTest::newRow("unknown top-level field")
            << QByteArray(R"({"locomotives": [], "accessories": [], "trains": []})") << "trains"
            << "is not a field here";
    QTest::newRow("unknown field, long, with a line feed")
            << QByteArray(R"({"locomotives": [], "accessories": [], "\n)" + QByteArray(99, 'x') + R"(": 0})")
            << "?" + QString(63, u'x') + "..."
            << "is not a field here";
    QTest::newRow("locomotive a number") << QByteArray(R"({"locomotives": [5], "accessories": []})") << "locomotives[0]"
                                         << "must be an object, not a number";
    QTest::newRow("misspelt field") << oneLocomotive(loco + R"(, "sped": 4)") << "locomotives[0].sped"
                                    << "is not a field here";

    QTest::newRow("id missing") << oneLocomotive(R"("address": 3, "name": "A")") << "locomotives[0].id"
                                << "is missing";
    QTest::newRow("address missing") << oneAccessory(R"("id": 300, "name": "A")") << "accessories[0].address"
                                     << "is missing";
    QTest::newRow("name missing") << oneLocomotive(R"("id": 1000, "address": 3)") << "locomotives[0].name"
                                  << "is missing";
    QTest::newRow("id a text") << oneLocomotive(R"("id": "1000", "address": 3, "name": "A")") << "locomotives[0].id"
                               << "must be a whole number from 2 to 65535, not a text";
    QTest::newRow("id with a fraction") << oneLocomotive(R"("id": 1000.5, "address": 3, "name": "A")")
                                        << "locomotives[0].id"
                                        << "from 2 to 65535, not 1000.5";
    QTest::newRow("id 0") << oneLocomotive(R"("id": 0, "address": 3, "name": "A")") << "locomotives[0].id"
                          << "from 2 to 65535, not 0";
    QTest::newRow("id 65536") << oneLocomotive(R"("id": 65536, "address": 3, "name": "A")") << "locomotives[0].id"
                              << "from 2 to 65535, not 65536";
    QTest::newRow("id 1e300") << oneLocomotive(R"("id": 1e300, "address": 3, "name": "A")") << "locomotives[0].id"
                              << "not 1e+300";
    QTest::newRow("id of the station") << oneLocomotive(R"("id": 1, "address": 3, "name": "A")") << "locomotives[0].id"
                                       << "1 is the station itself";
    QTest::newRow("id of the locomotive list")
            << oneAccessory(R"("id": 10, "address": 3, "name": "A")") << "accessories[0].id"
            << "10 is the list of locomotives";
    QTest::newRow("id of the accessory list")
            << oneLocomotive(R"("id": 11, "address": 3, "name": "A")") << "locomotives[0].id"
            << "11 is the list of accessories";
    QTest::newRow("two locomotives, one id") << QByteArray(R"({"locomotives": [{"id": 1000, "address": 3, "name": "A"},
                                              {"id": 1000, "address": 4, "name": "B"}], "accessories": []})")
                                             << "locomotives[1].id"
                                             << "1000 is already the identifier of locomotives[0]";
    QTest::newRow("accessory with a locomotive's id")
            << QByteArray(R"({"locomotives": [{"id": 1000, "address": 3, "name": "A"}],
                              "accessories": [{"id": 1000, "address": 3, "name": "B"}]})")
            << "accessories[0].id"
            << "1000 is already the identifier of locomotives[0]";
    QTest::newRow("two locomotives, one address")
            << QByteArray(R"({"locomotives": [{"id": 1000, "address": 3, "name": "A"},
                                              {"id": 1001, "address": 3, "name": "B"}], "accessories": []})")
            << "locomotives[1].address"
            << "3 is already the address of locomotives[0]";
    QTest::newRow("locomotive address 0")
            << oneLocomotive(R"("id": 1000, "address": 0, "name": "A")") << "locomotives[0].address"
            << "from 1 to 10239, not 0";
    QTest::newRow("locomotive address 10240")
            << oneLocomotive(R"("id": 1000, "address": 10240, "name": "A")") << "locomotives[0].address"
            << "from 1 to 10239, not 10240";
    QTest::newRow("accessory address 2049")
            << oneAccessory(R"("id": 300, "address": 2049, "name": "A")") << "accessories[0].address"
            << "from 1 to 2048, not 2049";

    QTest::newRow("speed 128") << oneLocomotive(loco + R"(, "speed": 128)") << "locomotives[0].speed"
                               << "from 0 to 127, not 128";
    QTest::newRow("speed -1") << oneLocomotive(loco + R"(, "speed": -1)") << "locomotives[0].speed"
                              << "from 0 to 127, not -1";
    QTest::newRow("speed true") << oneLocomotive(loco + R"(, "speed": true)") << "locomotives[0].speed"
                                << "not true";
    QTest::newRow("direction 2") << oneLocomotive(loco + R"(, "direction": 2)") << "locomotives[0].direction"
                                 << "from 0 to 1, not 2";
    QTest::newRow("functions a number") << oneLocomotive(loco + R"(, "functions": 3)") << "locomotives[0].functions"
                                        << "must be a list";
    QTest::newRow("function 32") << oneLocomotive(loco + R"(, "functions": [1, 32])") << "locomotives[0].functions[1]"
                                 << "from 0 to 31, not 32";
    QTest::newRow("function listed twice")
            << oneLocomotive(loco + R"(, "functions": [3, 3])") << "locomotives[0].functions[1]"
            << "function 3 is listed twice";
    QTest::newRow("accessory state 2") << oneAccessory(R"("id": 300, "address": 1, "name": "A", "state": 2)")
                                       << "accessories[0].state"
                                       << "from 0 to 1, not 2";

    QTest::newRow("name null") << oneLocomotive(R"("id": 1000, "address": 3, "name": null)") << "locomotives[0].name"
                               << "must be a text, not null";
    QTest::newRow("name empty") << oneLocomotive(R"("id": 1000, "address": 3, "name": "")") << "locomotives[0].name"
                                << "must not be empty";
    QTest::newRow("name of 65 characters")
            << oneLocomotive(R"("id": 1000, "address": 3, "name": ")" + QByteArray(65, 'x') + '"')
            << "locomotives[0].name"
            << "at most 64 characters, not 65";
    QTest::newRow("name with a double quote")
            << oneLocomotive(R"("id": 1000, "address": 3, "name": "Big \"A\"")") << "locomotives[0].name"
            << "double quote";
    QTest::newRow("name with a line feed")
            << oneLocomotive(R"("id": 1000, "address": 3, "name": "A\nB")") << "locomotives[0].name"
            << "control character U+000A";
    QTest::newRow("name with a NUL") << oneAccessory(R"("id": 300, "address": 3, "name": "A\u0000")")
                                     << "accessories[0].name"
                                     << "control character U+0000";
    QTest::newRow("name with a C1 control")
            << oneLocomotive(R"("id": 1000, "address": 3, "name": "A\u0085")") << "locomotives[0].name"
            << "control character U+0085";
    QTest::newRow("name with a euro sign")
            << oneLocomotive("\"id\": 1000, \"address\": 3, \"name\": \"5 \xe2\x82\xac\"") << "locomotives[0].name"
            << "Latin-1 characters only, not U+20AC";
    QTest::newRow("name with a character past U+FFFF")
            << oneLocomotive(R"("id": 1000, "address": 3, "name": "\ud83d\ude82")") << "locomotives[0].name"
            << "Latin-1 characters only, not U+1F682";
}

void TestLayout::refusesBadLayout()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, place);
    QFETCH(QString, what);

    LayoutReader::Problem problem;
    QVERIFY(!LayoutReader::parse(json, &problem));
    QCOMPARE(problem.place, place);
    QVERIFY2(problem.what.contains(what), qPrintable(problem.what));
}

void TestLayout::refusesUnusableFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("what");

    const QByteArray layout = oneLocomotive(R"("id": 1000, "address": 3, "name": "A")");
    QFile sparse(m_folder.filePath(QStringLiteral("huge.json")));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write("{") == 1 && sparse.resize(300 * 1024 * 1024));
    sparse.close();
    QFile pastLimit(writeFile(QStringLiteral("past-limit.json"), layout));
    QVERIFY(pastLimit.resize(1048577));
    const QString atLimit =
            writeFile(QStringLiteral("at-limit.json"), layout + QByteArray(1048576 - layout.size(), ' '));

    QTest::newRow("no such file") << m_folder.filePath(QStringLiteral("missing.json"))
                                  << ": cannot be read: No such file";
    QTest::newRow("a folder") << m_folder.path() << ": cannot be read: ";
    QTest::newRow("hundreds of megabytes") << sparse.fileName() << ": is larger than 1 MiB (1048576 bytes)";
    QTest::newRow("one byte past the limit") << pastLimit.fileName() << ": is larger than 1 MiB (1048576 bytes)";
    QTest::newRow("endless device") << QStringLiteral("/dev/zero") << ": is larger than 1 MiB (1048576 bytes)";
    QTest::newRow("at the limit, loads") << atLimit << QString();
}

void TestLayout::refusesUnusableFile()
{
    QFETCH(QString, path);
    QFETCH(QString, what);

    QString error;
    const auto layout = LayoutReader::readFile(path, &error);
    if (what.isEmpty()) {
        QVERIFY2(layout, qPrintable(error));
        QCOMPARE(layout->locomotives.size(), 1);
        return;
    }
    QVERIFY(!layout);
    QVERIFY2(error.startsWith(QStringLiteral("Layout file ") + path + what), qPrintable(error));
}

void TestLayout::programRefusesBadLayoutBeforeListening_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    const QString notJson = writeFile(QStringLiteral("not-json.json"), "{\n  \"locomotives\": [,]\n}");
    const QString badSpeed = writeFile(QStringLiteral("bad-speed.json"),
                                       oneLocomotive(R"("id": 7, "address": 3, "name": "A", "speed": 300)"));
    const QString deep = writeFile(QStringLiteral("deep.json"), tooDeep());
    QFile huge(m_folder.filePath(QStringLiteral("program-huge.json")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(400 * 1024 * 1024));
    huge.close();
    const QString missing = m_folder.filePath(QStringLiteral("nowhere.json"));

    QTest::newRow("not JSON") << notJson
                              << QStringLiteral("Layout file %1, at line 2, column 19: illegal value").arg(notJson);
    QTest::newRow("speed out of range")
            << badSpeed
            << QStringLiteral("Layout file %1, at locomotives[0].speed: must be a whole number from 0 to 127, not 300")
                       .arg(badSpeed);
    QTest::newRow("nested too deep")
            << deep << QStringLiteral("Layout file %1, at line 1, column 1025: too deeply nested document").arg(deep);
    QTest::newRow("hundreds of megabytes")
            << huge.fileName()
            << QStringLiteral("Layout file %1: is larger than 1 MiB (1048576 bytes), the most a layout file may hold")
                       .arg(huge.fileName());
    QTest::newRow("no such file")
            << missing << QStringLiteral("Layout file %1: cannot be read: No such file or directory").arg(missing);
}

void TestLayout::programRefusesBadLayoutBeforeListening()
{
    QFETCH(QString, path);
    QFETCH(QString, message);

    QProcess program;
    program.start(TestKit::SimulatorProcess::executable(), {"--port", "0", "--layout", path});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 2);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), message + u'\n');
}

void TestLayout::programServesOwnRailway()
{
    const QString path = writeFile(QStringLiteral("own.json"), kCustomLayout);
    TestKit::SimulatorProcess program({QStringLiteral("--layout"), path});
    QVERIFY2(program.firstLine().startsWith("Command station simulator listening on 127.0.0.1 port "),
             program.firstLine().constData());
    QVERIFY(program.port() != 0);

    TestKit::RecordingClient client(program.port());
    client.socket.write("queryObjects(11, name1)get(7, speed, dir)get(1003, name)");
    QTRY_COMPARE_WITH_TIMEOUT(client.replyCount(), 3, 10000);
    QCOMPARE(client.received,
             reply("queryObjects(11, name1)", "300 name1[\"Turnout\"]\n301 name1[\"Signal\"]\n")
                     + reply("get(7, speed, dir)", "7 speed[127] dir[1]\n")
                     + reply("get(1003, name)", {}, "3 (unknown object)"));
    QVERIFY(program.stop());
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
