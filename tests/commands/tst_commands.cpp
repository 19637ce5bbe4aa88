// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The command texts, byte for byte as the station receives them.

#include <QTest>

#include "commandsplitter.h"
#include "commands/commandtexts.h"

#include <functional>
#include <limits>

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void builders_data();
    void builders();
    void speedAndDirectionNumbers_data();
    void speedAndDirectionNumbers();
    void stationSplitsWhatBuildersWrite_data();
    void stationSplitsWhatBuildersWrite();
};

using Builder = std::function<QString()>;
Q_DECLARE_METATYPE(Builder)

void TestCommands::builders_data()
{
    QTest::addColumn<Builder>("build");
    QTest::addColumn<QString>("expected");

    auto row = [](const char *name, Builder build, const char *expected) {
        QTest::newRow(name) << build << QString::fromLatin1(expected);
    };
    using namespace Commands;
    row(
            "power on", [] { return powerOn(); }, "set(1, go)");
    row(
            "power off", [] { return powerOff(); }, "set(1, stop)");
    row(
            "take loco", [] { return takeLocomotive("1000"); }, "request(1000, control)");
    row(
            "take loco hint text", [] { return takeLocomotive("ID"); }, "request(ID, control)");
    row(
            "release loco", [] { return releaseLocomotive("1000"); }, "release(1000, control)");
    row(
            "release loco empty", [] { return releaseLocomotive(""); }, "release(, control)");
    row(
            "speed", [] { return setSpeed("1000", 42); }, "set(1000, speed[42])");
    row(
            "speed empty id", [] { return setSpeed("", 7); }, "set(, speed[7])");
    row(
            "forward", [] { return driveForward("1000"); }, "set(1000, dir[0])");
    row(
            "backward", [] { return driveBackward("1000"); }, "set(1000, dir[1])");
    row(
            "ask direction", [] { return askDirection("1000"); }, "get(1000, dir)");
    row(
            "set direction", [] { return setDirection("1000", 1); }, "set(1000, dir[1])");
    row(
            "function on", [] { return functionOn("1000", "3"); }, "set(1000, func[3, 1])");
    row(
            "function off", [] { return functionOff("1000", "3"); }, "set(1000, func[3, 0])");
    row(
            "function hint texts", [] { return functionOn("ID", "Number"); }, "set(ID, func[Number, 1])");
    row(
            "take accessory", [] { return takeAccessory("20000"); }, "request(20000, control)");
    row(
            "release accessory", [] { return releaseAccessory("20000"); }, "release(20000, control)");
    row(
            "accessory on", [] { return accessoryOn("20000"); }, "set(20000, state[1])");
    row(
            "accessory off", [] { return accessoryOff("20000"); }, "set(20000, state[0])");
    row(
            "accessory on empty", [] { return accessoryOn(""); }, "set(, state[1])");
    row(
            "list locomotives", [] { return listLocomotives(); }, "queryObjects(10, addr, name)");
    row(
            "list accessories", [] { return listAccessories(); }, "queryObjects(11, addr, name1)");
    row(
            "identifier with parenthesis and comma", [] { return takeLocomotive("1), set(1, stop"); },
            "request(1), set(1, stop, control)");
    row(
            "identifier with blanks", [] { return setSpeed(" 10 ", 1); }, "set( 10 , speed[1])");
}

void TestCommands::builders()
{
    QFETCH(Builder, build);
    QFETCH(QString, expected);
    QCOMPARE(build(), expected);
}

void TestCommands::speedAndDirectionNumbers_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");

    QTest::newRow("speed zero") << Commands::setSpeed("5", 0) << "set(5, speed[0])";
    QTest::newRow("speed negative") << Commands::setSpeed("5", -3) << "set(5, speed[-3])";
    QTest::newRow("speed int32 max") << Commands::setSpeed("5", std::numeric_limits<qint32>::max())
                                     << "set(5, speed[2147483647])";
    QTest::newRow("speed int32 min") << Commands::setSpeed("5", std::numeric_limits<qint32>::min())
                                     << "set(5, speed[-2147483648])";
    QTest::newRow("direction int16 max") << Commands::setDirection("5", std::numeric_limits<qint16>::max())
                                         << "set(5, dir[32767])";
    QTest::newRow("direction int16 min") << Commands::setDirection("5", std::numeric_limits<qint16>::min())
                                         << "set(5, dir[-32768])";
    QTest::newRow("direction zero") << Commands::setDirection("5", 0) << "set(5, dir[0])";
}

void TestCommands::speedAndDirectionNumbers()
{
    QFETCH(QString, command);
    QFETCH(QString, expected);
    QCOMPARE(command, expected);
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

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
