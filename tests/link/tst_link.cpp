// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The station link against real sockets on loopback: the connect wait, the
// bytes on the wire both ways, and a station that goes away.

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include "link/memorypolicy.h"
#include "link/stationlink.h"

#include <chrono>
#include <memory>
#include <numeric>

#include "backloglistener.h"
#include "bytes.h"
#include "keptmemory.h"
#include "loopbackstation.h"
#include "waituntil.h"

using TestKit::LoopbackStation;
using namespace std::chrono_literals;

namespace {

// Time enough for a reading pass to read all that waits.
constexpr std::chrono::milliseconds kWholePass = 1h;

// A socket of the link's own, to look into what it has not yet written.
QTcpSocket *socketOf(const StationLink &link)
{
    return link.findChild<QTcpSocket *>();
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void attemptOutcome_data();
    void attemptOutcome();
    void attemptLastsTheWholeWait();
    void unansweredAttemptEndsClosed();
    void secondAttemptDuringWaitIsIgnored();
    void attemptWhileConnectedKeepsConnection();
    void sendWritesExactBytes_data();
    void sendWritesExactBytes();
    void quickSendsArriveBackToBack();
    void sendRefusedWhenNeverConnected();
    void sendRefusedAfterStationClosed();
    void receivedBytesDecodeAsLatin1();
    void chunksAreBounded();
    void readingPassHandsOnItsTail_data();
    void readingPassHandsOnItsTail();

private:
    std::unique_ptr<StationLink> connectedLink(LoopbackStation &station,
                                               std::chrono::milliseconds readBudget = kWholePass);
};

std::unique_ptr<StationLink> TestLink::connectedLink(LoopbackStation &station, std::chrono::milliseconds readBudget)
{
    auto link = std::make_unique<StationLink>(readBudget);
    QSignalSpy finished(link.get(), &StationLink::attemptFinished);
    link->connectToStation(QStringLiteral("127.0.0.1"), station.port());
    if (!finished.wait(3000) || !finished.first().first().toBool() || !station.waitForClient())
        return nullptr;
    return link;
}

void TestLink::attemptOutcome_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("listening");
    QTest::addColumn<bool>("connected");

    // Names that need a name server are tried in the fault tests, inside a
    // network namespace of their own, so no query leaves this machine.
    QTest::newRow("station listening") << "127.0.0.1" << true << true;
    QTest::newRow("station by name localhost") << "localhost" << true << true;
    QTest::newRow("nothing listening") << "127.0.0.1" << false << false;
    QTest::newRow("empty address") << "" << true << false;
}

void TestLink::attemptOutcome()
{
    QFETCH(QString, host);
    QFETCH(bool, listening);
    QFETCH(bool, connected);

    LoopbackStation station;
    const quint16 port = station.port();
    if (!listening)
        station.stopListening();

    StationLink link(kWholePass);
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    link.connectToStation(host, port);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), connected);
    QCOMPARE(link.isConnected(), connected);
    if (!connected)
        QCOMPARE(socketOf(link)->state(), QAbstractSocket::UnconnectedState);
}

void TestLink::attemptLastsTheWholeWait()
{
    // The outcome is read once, after the wait, even when the station
    // answers at once.
    LoopbackStation station;
    StationLink link(kWholePass);
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    QElapsedTimer timer;
    timer.start();
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    QVERIFY2(timer.elapsed() >= 510, qPrintable(QString::number(timer.elapsed())));
}

void TestLink::unansweredAttemptEndsClosed()
{
    TestKit::BacklogListener station;
    QVERIFY(station.fillQueue());
    StationLink link(kWholePass);
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(socketOf(link)->state(), QAbstractSocket::UnconnectedState);
}

void TestLink::secondAttemptDuringWaitIsIgnored()
{
    LoopbackStation station;
    StationLink link(kWholePass);
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    // No attempt left running that could report again.
    QVERIFY(!link.isAttemptRunning());
    QCOMPARE(finished.count(), 1);
    QVERIFY(link.isConnected());
    QCOMPARE(station.clientCount(), 1);
}

void TestLink::attemptWhileConnectedKeepsConnection()
{
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    QSignalSpy finished(link.get(), &StationLink::attemptFinished);
    link->connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(link->send(QStringLiteral("x")));
    QCOMPARE(station.waitFor("x"), QByteArray("x"));
}

void TestLink::sendWritesExactBytes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("power on is ten bytes") << "set(1, go)" << QByteArray("set(1, go)");
    QTest::newRow("latin-1 letters") << QString::fromUtf8("Direcci\xc3\xb3n \xc3\xb1")
                                     << QByteArray("Direcci\xf3n \xf1");
    QTest::newRow("outside latin-1 becomes ?") << QString::fromUtf8("\xe2\x82\xac \xe6\x97\xa5") << QByteArray("? ?");
    QTest::newRow("control characters kept")
            << QString::fromLatin1("a\tb\r\nc\x01", 7) << QByteArray("a\tb\r\nc\x01", 7);
    QTest::newRow("no terminator added") << "get(1000, dir)" << QByteArray("get(1000, dir)");
}

void TestLink::sendWritesExactBytes()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, wire);
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    QVERIFY(link->send(command));
    // Out before control returns to any event loop.
    QCOMPARE(socketOf(*link)->bytesToWrite(), 0);
    QCOMPARE(station.waitForWithoutEventLoop(wire), wire);
    QCOMPARE(station.received(), wire);
}

void TestLink::quickSendsArriveBackToBack()
{
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    QVERIFY(link->send(QStringLiteral("set(1, go)")));
    QVERIFY(link->send(QStringLiteral("queryObjects(10, addr, name)")));
    QCOMPARE(station.waitFor("set(1, go)queryObjects(10, addr, name)"),
             QByteArray("set(1, go)queryObjects(10, addr, name)"));
}

void TestLink::sendRefusedWhenNeverConnected()
{
    StationLink link(kWholePass);
    QVERIFY(!link.send(QStringLiteral("set(1, go)")));
    QCOMPARE(socketOf(link)->bytesToWrite(), 0);
}

void TestLink::sendRefusedAfterStationClosed()
{
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    station.closeClient();
    QTRY_VERIFY(!link->isConnected());
    QVERIFY(!link->send(QStringLiteral("set(1, stop)")));
}

void TestLink::receivedBytesDecodeAsLatin1()
{
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    QSignalSpy chunks(link.get(), &StationLink::dataArrived);
    station.reply(TestKit::byteRange());
    QTRY_COMPARE(chunks.count(), 1);
    const QString text = chunks.first().first().toString();
    QCOMPARE(text.size(), 256);
    for (int b = 0; b < 256; ++b)
        QCOMPARE(text.at(b).unicode(), ushort(b));
}

void TestLink::chunksAreBounded()
{
    LoopbackStation station;
    auto link = connectedLink(station);
    QVERIFY(link);
    QSignalSpy passes(link.get(), &StationLink::dataArrived);
    const qsizetype total = 3 * 65536 + 123;
    station.reply(QByteArray(total, 'a'));
    // Each reading pass tells how much it read and hands on the end of it,
    // never more than 64 KiB.
    QTRY_COMPARE_WITH_TIMEOUT(
            std::accumulate(passes.cbegin(), passes.cend(), qint64(0),
                            [](qint64 sum, const QList<QVariant> &pass) { return sum + pass.at(1).toLongLong(); }),
            qint64(total), 5000);
    for (const QList<QVariant> &pass : passes) {
        const qsizetype size = pass.first().toString().size();
        QVERIFY(size > 0 && size <= 65536);
        QVERIFY(pass.at(1).toLongLong() >= size);
    }
}

void TestLink::readingPassHandsOnItsTail_data()
{
    QTest::addColumn<int>("waiting");
    QTest::addColumn<int>("budgetMs");
    // Memory handed back half a second later: after a pass of a whole chunk.
    QTest::addColumn<bool>("handedBack");

    const int wholePass = int(std::chrono::milliseconds(kWholePass).count());
    QTest::newRow("just under 64 KiB: all of it") << 65535 << wholePass << false;
    QTest::newRow("exactly 64 KiB: all of it") << 65536 << wholePass << true;
    QTest::newRow("4 bytes past 64 KiB: the last 65,536") << 65540 << wholePass << true;
    QTest::newRow("several chunks: the tail across the last boundary") << 3 * 65536 + 100 << wholePass << true;
    // A pass out of time stops after one chunk, and the next follows at
    // the next turn of the event loop without a new byte to start it.
    QTest::newRow("budget 0, 4 bytes past 64 KiB: two passes") << 65540 << 0 << true;
    QTest::newRow("budget 0, several chunks: a pass each") << 3 * 65536 + 100 << 0 << true;
}

void TestLink::readingPassHandsOnItsTail()
{
    QFETCH(int, waiting);
    QFETCH(int, budgetMs);
    QFETCH(bool, handedBack);
    LoopbackStation station;
    auto link = connectedLink(station, std::chrono::milliseconds(budgetMs));
    QVERIFY(link);
    MemoryPolicy::handBackAfterLongReplies(*link);
    const TestKit::KeptMemory kept;
    const QByteArray stream = TestKit::randomBytes(waiting, 20);
    QTcpSocket *socket = socketOf(*link);
    {
        // All but the last byte wait unseen in the socket; the last byte
        // then starts one reading pass over everything.
        const QSignalBlocker unseen(socket);
        station.reply(stream.chopped(1));
        QVERIFY(TestKit::waitUntil([&] { return socket->bytesAvailable() == waiting - 1; }));
    }
    QSignalSpy passes(link.get(), &StationLink::dataArrived);
    station.reply(stream.right(1));
    QVERIFY(passes.wait(5000));
    qint64 readSoFar = 0;
    for (int seen = 0; readSoFar < waiting; ++seen) {
        if (seen == passes.count())
            QCoreApplication::processEvents();
        QVERIFY(seen < passes.count());
        QCOMPARE(passes.at(seen).at(1).toLongLong(), budgetMs == 0 ? qMin(waiting - readSoFar, 65536) : waiting);
        readSoFar += passes.at(seen).at(1).toLongLong();
        const qsizetype tail = qMin(passes.at(seen).at(1).toLongLong(), qint64(65536));
        const QString text = passes.at(seen).first().toString();
        QCOMPARE(text.size(), tail);
        QCOMPARE(text, QString::fromLatin1(stream.mid(readSoFar - tail, tail)));
    }
    QCOMPARE(readSoFar, qint64(waiting));
#if defined(__GLIBC__) && !defined(PANEL_UNDER_SANITIZER) // glibc's own heap hands memory back
    QCOMPARE(kept.handedBack(1500), handedBack);
#endif
}

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
