// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The command texts, byte for byte as the station receives them, and the
// direction the toggle sets from the last chunk the station sent.

#include <QTest>

#include "commandsplitter.h"
#include "commands/commandtexts.h"
#include "commands/replies.h"

#include <functional>

#include "numberlocale.h"

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void builders_data();
    void builders();
    void stationSplitsWhatBuildersWrite_data();
    void stationSplitsWhatBuildersWrite();
    void toggledDirection_data();
    void toggledDirection();
};

using Builder = std::function<QString()>;
Q_DECLARE_METATYPE(Builder)

// Every table runs in the C locale and again in one that writes decimals
// with a comma, as an operator's may: numbers are written and read alike.
void TestCommands::initTestCase_data()
{
    TestKit::addNumberLocaleRows();
}

void TestCommands::init()
{
    TestKit::enterRowsNumberLocale();
}

void TestCommands::builders_data()
{
    QTest::addColumn<Builder>("build");
    QTest::addColumn<QString>("expected");

    auto row = [](const char *name, const char *expected, Builder build) {
        QTest::newRow(name) << build << QString::fromLatin1(expected);
    };
    using namespace Commands;
    row("power on", "set(1, go)", [] { return powerOn(); });
    row("power off", "set(1, stop)", [] { return powerOff(); });
    row("take loco", "request(1000, control)", [] { return takeLocomotive("1000"); });
    row("take loco hint text", "request(ID, control)", [] { return takeLocomotive("ID"); });
    row("release loco", "release(1000, control)", [] { return releaseLocomotive("1000"); });
    row("release loco empty", "release(, control)", [] { return releaseLocomotive(""); });
    row("speed", "set(1000, speed[42])", [] { return setSpeed("1000", 42); });
    row("speed empty id", "set(, speed[7])", [] { return setSpeed("", 7); });
    row("speed zero, no sign position", "set(5, speed[0])", [] { return setSpeed("5", 0); });
    row("speed negative", "set(5, speed[-3])", [] { return setSpeed("5", -3); });
    row("forward", "set(1000, dir[0])", [] { return driveForward("1000"); });
    row("backward", "set(1000, dir[1])", [] { return driveBackward("1000"); });
    row("ask direction", "get(1000, dir)", [] { return askDirection("1000"); });
    row("set direction", "set(1000, dir[1])", [] { return setDirection("1000", 1); });
    row("set direction negative", "set(1000, dir[-1])", [] { return setDirection("1000", -1); });
    row("function on", "set(1000, func[3, 1])", [] { return functionOn("1000", "3"); });
    row("function off", "set(1000, func[3, 0])", [] { return functionOff("1000", "3"); });
    row("function hint texts", "set(ID, func[Number, 1])", [] { return functionOn("ID", "Number"); });
    row("take accessory", "request(20000, control)", [] { return takeAccessory("20000"); });
    row("release accessory", "release(20000, control)", [] { return releaseAccessory("20000"); });
    row("accessory on", "set(20000, state[1])", [] { return accessoryOn("20000"); });
    row("accessory off", "set(20000, state[0])", [] { return accessoryOff("20000"); });
    row("accessory on empty", "set(, state[1])", [] { return accessoryOn(""); });
    row("list locomotives", "queryObjects(10, addr, name)", [] { return listLocomotives(); });
    row("list accessories", "queryObjects(11, addr, name1)", [] { return listAccessories(); });
    row("identifier with parenthesis and comma", "request(1), set(1, stop, control)",
        [] { return takeLocomotive("1), set(1, stop"); });
    row("identifier with blanks", "set( 10 , speed[1])", [] { return setSpeed(" 10 ", 1); });
}

void TestCommands::builders()
{
    QFETCH(Builder, build);
    QFETCH(QString, expected);
    QCOMPARE(build(), expected);
}

void TestCommands::stationSplitsWhatBuildersWrite_data()
{
    QTest::addColumn<int>("pieceSize");
    QTest::newRow("all at once") << 0;
    QTest::newRow("byte by byte") << 1;
    QTest::newRow("seven bytes at a time") << 7;
}

void TestCommands::stationSplitsWhatBuildersWrite()
{
    QFETCH(int, pieceSize);
    using namespace Commands;
    // Every command the panel can send, written back to back with nothing
    // between, as they reach the station.
    const QStringList sent = {powerOn(),
                              powerOff(),
                              takeLocomotive("1000"),
                              releaseLocomotive("1000"),
                              setSpeed("1000", 42),
                              setSpeed("1000", -1),
                              driveForward("1000"),
                              driveBackward("1000"),
                              askDirection("1000"),
                              setDirection("1000", -32768),
                              functionOn("1000", "3"),
                              functionOff("ID", "Number"),
                              takeAccessory("20000"),
                              releaseAccessory(""),
                              accessoryOn("20000"),
                              accessoryOff("ID"),
                              listLocomotives(),
                              listAccessories(),
                              freeCommand("get(1, status)")};
    QByteArray wire;
    for (const QString &command : sent)
        wire += command.toLatin1();

    CommandSplitter splitter;
    QList<QByteArray> received;
    const qsizetype step = pieceSize == 0 ? wire.size() : pieceSize;
    for (qsizetype at = 0; at < wire.size(); at += step)
        received += splitter.feed(QByteArrayView(wire).sliced(at, qMin(step, wire.size() - at)));

    QCOMPARE(received.size(), sent.size());
    for (qsizetype i = 0; i < sent.size(); ++i)
        QCOMPARE(QString::fromLatin1(received.at(i)), sent.at(i));
    QVERIFY(splitter.pending().isEmpty());
}

// How the reading of numbers and markers works is the common helpers' own
// table; here, what the toggle makes of what they give.
void TestCommands::toggledDirection_data()
{
    QTest::addColumn<QString>("lastChunk");
    QTest::addColumn<bool>("sends");
    QTest::addColumn<int>("direction");

    QTest::newRow("reports 1: sets 0") << "1000 dir[1]" << true << 0;
    QTest::newRow("reports 0 in a reply block: sets 1") << "<REPLY get(1000, dir)>\n1000 dir[0]\n<END 0 (OK)>\n"
                                                        << true << 1;
    QTest::newRow("nothing received yet: sets 1") << "" << true << 1;
    QTest::newRow("read leniently: digits then text") << "dir[1st]" << true << 0;
    QTest::newRow("rounded, not cut: 0.6 is 1") << "dir[0.6]" << true << 0;
    QTest::newRow("minus one") << "dir[-1]" << true << 2;
    QTest::newRow("largest 16-bit value") << "dir[32767]" << true << -32766;
    QTest::newRow("-32766: reverse is the largest") << "dir[-32766]" << true << 32767;
    QTest::newRow("-32767: reverse leaves 16 bits") << "dir[-32767]" << false << 0;
    QTest::newRow("32768 leaves 16 bits") << "dir[32768]" << false << 0;
}

void TestCommands::toggledDirection()
{
    QFETCH(QString, lastChunk);
    QFETCH(bool, sends);
    QFETCH(int, direction);

    const std::optional<qint16> toggled = Replies::toggledDirection(lastChunk);
    QCOMPARE(toggled.has_value(), sends);
    if (sends)
        QCOMPARE(int(*toggled), direction);
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
