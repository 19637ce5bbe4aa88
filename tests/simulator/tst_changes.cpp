// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What each command did to the railway, in the words the simulator's
// console prints under it: every kind of change, of nothing changed and of
// refusal, then the program printing them as a client drives and leaves.

#include "station.h"

#include <QTest>

#include "simulatorprocess.h"

using namespace Qt::StringLiterals;

namespace {

// Stands for the first client leaving, in place of a command.
const QByteArray kLeaves = "<client 1 leaves>";

// The built-in railway, with a line break in the name of locomotive 1003.
RailwayLayout railway()
{
    RailwayLayout layout = RailwayLayout::builtIn();
    layout.locomotives[3].name = "Freight\ndiesel";
    return layout;
}

} // namespace

class TestChanges : public QObject
{
    Q_OBJECT

private slots:
    void tellsWhatChanged_data();
    void tellsWhatChanged();
    void programPrintsWhatChanged();
};

void TestChanges::tellsWhatChanged_data()
{
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<int>("client");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("words");

    const QByteArrayList none;
    const QByteArray take = "request(1000, control)";
    const QByteArray takeAccessory = "request(20001, control)";
    const auto row = [](const char *name, const QByteArrayList &before, int client, const QByteArray &command,
                        const QString &words) { QTest::newRow(name) << before << client << command << words; };

    row("power on", none, 1, "set(1, go)", "power on");
    row("power off", {"set(1, go)"}, 2, "set(1, stop)", "power off");
    row("power already off", none, 1, "set(1, stop)", "nothing changed: power was already off");
    row("speed", {take}, 1, "set(1000, speed[42])", "locomotive 1000 \"Tank engine\": speed 42, forward");
    row("direction", {take, "set(1000, speed[7])"}, 1, "set(1000, dir[1])",
        "locomotive 1000 \"Tank engine\": speed 7, backward");
    row("function on", {take}, 1, "set(1000, func[3, 1])", "locomotive 1000: function 3 on");
    row("several at once", {take, "set(1000, func[0, 1])"}, 1, "set(1000, func[31, 1], speed[10], func[0, 0])",
        "locomotive 1000 \"Tank engine\": speed 10, forward, function 0 off, function 31 on");
    row("locomotive already so", {take}, 1, "set(1000, speed[0], func[5, 0])",
        "nothing changed: locomotive 1000 was already so");
    row("control character in a name", {"request(1003, control)"}, 1, "set(1003, dir[1])",
        "locomotive 1003 \"Freight?diesel\": speed 0, backward");
    row("accessory switched", {takeAccessory}, 1, "set(20001, state[1])", "accessory 20001: state 1");
    row("accessory already so", {takeAccessory}, 1, "set(20001, state[0])",
        "nothing changed: accessory 20001 was already so");
    row("locomotive taken", none, 1, take, "127.0.0.1:54321 now controls locomotive 1000");
    row("accessory taken", none, 2, takeAccessory, "127.0.0.1:54322 now controls accessory 20001");
    row("taken again", {take}, 1, take, "127.0.0.1:54321 already controls locomotive 1000");
    row("released", {take}, 1, "release(1000, control)", "127.0.0.1:54321 released locomotive 1000");
    row("leaving frees one", {take}, 1, kLeaves, "locomotive 1000 is free again");
    row("leaving frees all", {takeAccessory, take}, 1, kLeaves, "locomotive 1000, accessory 20001 are free again");
    row("leaving holding nothing", {take}, 2, kLeaves, "");
    row("reading tells nothing", {take}, 1, "get(1000, speed)", "");

    row("unknown command", none, 1, "drive(1000)", "refused: unknown command");
    row("syntax error", none, 1, "set(1, go", "refused: syntax error");
    row("bad value", {take}, 1, "set(1000, speed[10], dir[7])", "refused: bad value");
    row("control not held", none, 1, "set(1000, speed[3])", "refused: control not held");
    row("held by another", {take}, 2, take, "refused: control held by another client");
}

void TestChanges::tellsWhatChanged()
{
    QFETCH(QByteArrayList, before);
    QFETCH(int, client);
    QFETCH(QByteArray, command);
    QFETCH(QString, words);

    Station station(railway());
    for (const QByteArray &earlier : before)
        QVERIFY(station.execute(1, earlier).endsWith("<END 0 (OK)>\n"));
    StationChange told;
    if (command == kLeaves)
        told = station.releaseClient(client);
    else
        station.execute(client, command, told);
    QCOMPARE(told.words(QStringLiteral("127.0.0.1:%1").arg(54320 + client)), words);
}

// The lines come under the command or the leaving they tell of, and
// before whatever comes after.
void TestChanges::programPrintsWhatChanged()
{
    TestKit::SimulatorProcess simulator;
    TestKit::RecordingClient client(simulator.port());
    client.socket.write("request(1000, control)set(1000, speed[42])");
    QTRY_COMPARE(client.replyCount(), 2);
    const quint16 port = client.socket.localPort();
    client.socket.disconnectFromHost();
    QTRY_COMPARE(simulator.timesLeft(port), 1);
    TestKit::RecordingClient next(simulator.port());
    next.socket.write("get(1, status)get(1, stop)");
    QTRY_VERIFY(simulator.console().endsWith(" > get(1, stop)\n  refused: bad attribute\n"));
    const QString expected =
            QStringLiteral("%1 connected\n%1 > request(1000, control)\n"
                           "  %1 now controls locomotive 1000\n%1 > set(1000, speed[42])\n"
                           "  locomotive 1000 \"Tank engine\": speed 42, forward\n%1 left\n"
                           "  locomotive 1000 is free again\n%2 connected\n%2 > get(1, status)\n%2 > get(1, stop)\n"
                           "  refused: bad attribute\n")
                    .arg(u"127.0.0.1:%1"_s.arg(port), u"127.0.0.1:%1"_s.arg(next.socket.localPort()));
    QCOMPARE(QString::fromUtf8(simulator.console()), expected);
}

QTEST_GUILESS_MAIN(TestChanges)
#include "tst_changes.moc"
