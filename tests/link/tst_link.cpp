// The station link against real sockets on loopback: the connect wait, the
// bytes on the wire both ways, and a station that goes away.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "link/stationlink.h"

#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A station on 127.0.0.1 that accepts one client and hands its socket out.
class LoopbackStation
{
public:
    LoopbackStation() { QVERIFY(m_server.listen(QHostAddress::LocalHost, 0)); }
    quint16 port() const { return m_server.serverPort(); }

    QTcpSocket *accept()
    {
        if (!m_server.hasPendingConnections() && !m_server.waitForNewConnection(2000))
            return nullptr;
        return m_server.nextPendingConnection();
    }

private:
    QTcpServer m_server;
};

// The link's own socket, found by its name.
QTcpSocket *socketOf(const StationLink &link)
{
    return link.findChild<QTcpSocket *>(QStringLiteral("WinsockCS"));
}

// Reads from `peer` until `count` bytes have come or the time is up.
QByteArray receive(QTcpSocket *peer, qsizetype count)
{
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < count && timer.elapsed() < 3000) {
        if (peer->bytesAvailable() == 0)
            peer->waitForReadyRead(100);
        got += peer->readAll();
    }
    return got;
}

// A listening port whose backlog is already full, so a further connection
// attempt is left unanswered (its SYN dropped) for longer than the wait.
class FullBacklog
{
public:
    FullBacklog()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(m_listener, 0);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        // Fill the queue with connections that are never accepted.
        for (int i = 0; i < 3; ++i) {
            auto filler = std::make_unique<QTcpSocket>();
            filler->connectToHost(QHostAddress::LocalHost, m_port);
            filler->waitForConnected(200);
            m_fillers.push_back(std::move(filler));
        }
    }
    ~FullBacklog() { ::close(m_listener); }
    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    quint16 m_port = 0;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};

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

private:
    std::unique_ptr<StationLink> connectedLink(LoopbackStation &station, QTcpSocket **peer);
};

std::unique_ptr<StationLink> TestLink::connectedLink(LoopbackStation &station, QTcpSocket **peer)
{
    auto link = std::make_unique<StationLink>();
    QSignalSpy finished(link.get(), &StationLink::attemptFinished);
    link->connectToStation(QStringLiteral("127.0.0.1"), station.port());
    *peer = station.accept();
    if (!finished.wait(3000) || !finished.first().first().toBool())
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

    auto station = std::make_unique<LoopbackStation>();
    const quint16 port = station->port();
    if (!listening)
        station.reset();

    StationLink link;
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
    StationLink link;
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    QElapsedTimer timer;
    timer.start();
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    QVERIFY2(timer.elapsed() >= StationLink::kConnectWaitMs, qPrintable(QString::number(timer.elapsed())));
}

void TestLink::unansweredAttemptEndsClosed()
{
    FullBacklog station;
    StationLink link;
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(socketOf(link)->state(), QAbstractSocket::UnconnectedState);
}

void TestLink::secondAttemptDuringWaitIsIgnored()
{
    LoopbackStation station;
    StationLink link;
    QSignalSpy finished(&link, &StationLink::attemptFinished);
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QTest::qWait(100);
    link.connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QVERIFY(finished.wait(5000));
    QTest::qWait(StationLink::kConnectWaitMs + 100);
    QCOMPARE(finished.count(), 1);
    QVERIFY(link.isConnected());
    QVERIFY(station.accept());
    QVERIFY2(!station.accept(), "a second connection reached the station");
}

void TestLink::attemptWhileConnectedKeepsConnection()
{
    LoopbackStation station;
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    QSignalSpy finished(link.get(), &StationLink::attemptFinished);
    link->connectToStation(QStringLiteral("127.0.0.1"), station.port());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(link->send(QStringLiteral("x")));
    QCOMPARE(receive(peer, 1), QByteArray("x"));
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
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    QVERIFY(link->send(command));
    QCOMPARE(receive(peer, wire.size()), wire);
    QVERIFY(!peer->waitForReadyRead(50));
}

void TestLink::quickSendsArriveBackToBack()
{
    LoopbackStation station;
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    QVERIFY(link->send(QStringLiteral("set(1, go)")));
    QVERIFY(link->send(QStringLiteral("queryObjects(10, addr, name)")));
    QCOMPARE(receive(peer, 38), QByteArray("set(1, go)queryObjects(10, addr, name)"));
}

void TestLink::sendRefusedWhenNeverConnected()
{
    StationLink link;
    QVERIFY(!link.send(QStringLiteral("set(1, go)")));
    QCOMPARE(socketOf(link)->bytesToWrite(), 0);
}

void TestLink::sendRefusedAfterStationClosed()
{
    LoopbackStation station;
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    peer->close();
    QTRY_VERIFY(!link->isConnected());
    QVERIFY(!link->send(QStringLiteral("set(1, stop)")));
}

void TestLink::receivedBytesDecodeAsLatin1()
{
    LoopbackStation station;
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    QSignalSpy chunks(link.get(), &StationLink::dataArrived);
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every += char(b);
    peer->write(every);
    peer->flush();
    QTRY_COMPARE(chunks.count(), 1);
    const QString text = chunks.first().first().toString();
    QCOMPARE(text.size(), 256);
    for (int b = 0; b < 256; ++b)
        QCOMPARE(text.at(b).unicode(), ushort(b));
}

void TestLink::chunksAreBounded()
{
    LoopbackStation station;
    QTcpSocket *peer = nullptr;
    auto link = connectedLink(station, &peer);
    QVERIFY(link && peer);
    QSignalSpy passes(link.get(), &StationLink::dataArrived);
    const qsizetype total = 3 * StationLink::kMaxChunkBytes + 123;
    peer->write(QByteArray(total, 'a'));
    qsizetype seen = 0;
    QElapsedTimer timer;
    timer.start();
    while (seen < total && timer.elapsed() < 5000) {
        QTest::qWait(5);
        seen = 0;
        for (const QList<QVariant> &pass : passes) {
            const qsizetype size = pass.first().toString().size();
            QVERIFY(size > 0 && size <= StationLink::kMaxChunkBytes);
            QVERIFY(pass.at(1).toLongLong() >= size);
            seen += pass.at(1).toLongLong();
        }
    }
    QCOMPARE(seen, total);
}

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
