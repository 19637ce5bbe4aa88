// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulator program, as a user starts it, under clients that misbehave:
// crowds that come and go, clients that leave or reset mid-command, binary
// garbage, and all of that at once with an endless command and a client that
// sends without reading (each of those two has its own rows in
// tst_simulator). All the while an ordinary client keeps being served, the
// process stays alive and silent on its error output, and its memory stays
// within a bound.

#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include <signal.h>

#include "bytes.h"
#include "loopbackstation.h"
#include "privatenetwork.h"
#include "simulatorprocess.h"
#include "waituntil.h"

namespace {

// Far more than any client may make the simulator hold for it.
constexpr qsizetype kUnreadFlood = 12 * 1024 * 1024;
#ifdef PANEL_UNDER_SANITIZER
// The sanitizer's allocator keeps what is freed, so resident memory tells
// nothing here; the rounds only look for reports.
constexpr int kCrowd = 100;
constexpr int kRounds = 2;
constexpr bool kMemoryTells = false;
#else
constexpr int kCrowd = 200;
// Enough rounds that a session left behind by each would show.
constexpr int kRounds = 4;
constexpr bool kMemoryTells = true;
#endif

using TestKit::RecordingClient;
using TestKit::SimulatorProcess;
using Crowd = std::vector<std::unique_ptr<RecordingClient>>;

// How often the system has turned a connection away for want of room in a
// listener's queue, within this network namespace; -1 when unknown.
qint64 listenOverflows()
{
    QFile netstat(QStringLiteral("/proc/net/netstat"));
    if (!netstat.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = netstat.readAll().split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const QList<QByteArray> names = lines[i].split(' '), values = lines[i + 1].split(' ');
        if (const qsizetype at = names.indexOf("ListenOverflows"); at >= 0 && at < values.size())
            return values[at].toLongLong();
    }
    return -1;
}

// An ordinary client that asks for the power state every few milliseconds
// and checks that every answer comes, whole and in order.
class Regular
{
public:
    explicit Regular(quint16 port) : m_client(port)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_client.socket, [this] {
            m_client.socket.write("get(1, status)");
            ++m_asked;
        });
        m_timer.start();
    }
    bool allAnswered() const { return m_client.received == m_reply.repeated(m_asked); }
    bool answeredSince(qsizetype asked) const { return m_client.replyCount() > asked + 2; }
    qsizetype asked() const { return m_asked; }
    void stop() { m_timer.stop(); }

private:
    RecordingClient m_client;
    QTimer m_timer;
    qsizetype m_asked = 0;
    const QByteArray m_reply = "<REPLY get(1, status)>\n1 status[stop]\n<END 0 (OK)>\n";
};

enum class Abuse { Crowd, LeaveMidCommand, Garbage, AllAtOnce };

} // namespace

Q_DECLARE_METATYPE(Abuse)

class TestSimulatorFaults : public QObject
{
    Q_OBJECT

public:
    explicit TestSimulatorFaults(bool privateNetwork) : m_privateNetwork(privateNetwork) {}

private slots:
    void keepsServing_data();
    void keepsServing();

private:
    // One round of `abuse`; returns once the simulator has seen it through.
    void abuse(Abuse kind, SimulatorProcess &program, const Regular &regular);
    void crowd(SimulatorProcess &program, bool midCommand);
    void garbage(SimulatorProcess &program, int round);

    // In a network namespace of its own no other program's connections
    // count with the crowd's.
    const bool m_privateNetwork;
    qint64 m_peakKiB = 0;
};

void TestSimulatorFaults::keepsServing_data()
{
    QTest::addColumn<Abuse>("kind");
    QTest::newRow("crowd connecting and leaving") << Abuse::Crowd;
    QTest::newRow("crowd closing and resetting mid-command") << Abuse::LeaveMidCommand;
    QTest::newRow("binary garbage") << Abuse::Garbage;
    QTest::newRow("all at once") << Abuse::AllAtOnce;
}

void TestSimulatorFaults::keepsServing()
{
    QFETCH(Abuse, kind);
    SimulatorProcess program;
    QVERIFY(program.port() != 0);
    Regular regular(program.port());
    QTRY_VERIFY(regular.answeredSince(0));
    const qint64 startKiB = program.residentKiB();

    // The first round settles the allocator; later rounds must not add.
    abuse(kind, program, regular);
    if (QTest::currentTestFailed())
        return;
    const qint64 settledKiB = program.residentKiB();
    m_peakKiB = settledKiB;
    for (int round = 1; round < kRounds; ++round) {
        abuse(kind, program, regular);
        if (QTest::currentTestFailed())
            return;
    }
    const qint64 finalKiB = program.residentKiB();
    regular.stop();
    QTRY_VERIFY(regular.allAnswered());

    QVERIFY(program.running());
    QCOMPARE(program.errors(), QByteArray());
    QVERIFY(startKiB > 0);
    const QString memory = QStringLiteral("at start %1 KiB, after one round %2 KiB, peak %3 KiB, final %4 KiB")
                                   .arg(startKiB)
                                   .arg(settledKiB)
                                   .arg(m_peakKiB)
                                   .arg(finalKiB);
    qInfo().noquote() << memory;
    if (!kMemoryTells)
        return;
    // Nothing kept from round to round, and no client's input or replies
    // piling up: the flood alone would need tens of MiB.
    QVERIFY2(finalKiB - settledKiB < 2 * 1024, qPrintable(memory));
    QVERIFY2(m_peakKiB - startKiB < 12 * 1024, qPrintable(memory));
}

void TestSimulatorFaults::abuse(Abuse kind, SimulatorProcess &program, const Regular &regular)
{
    const qsizetype askedBefore = regular.asked();
    switch (kind) {
    case Abuse::Crowd:
        crowd(program, false);
        break;
    case Abuse::LeaveMidCommand:
        crowd(program, true);
        break;
    case Abuse::Garbage:
        garbage(program, 0);
        break;
    case Abuse::AllAtOnce: {
        // Each abuser runs its course while the others are connected.
        RecordingClient flood(program.port(), false);
        flood.socket.write(QByteArray("get(1, status)").repeated(kUnreadFlood / 14));
        RecordingClient endlessClient(program.port());
        QTRY_COMPARE(endlessClient.socket.state(), QAbstractSocket::ConnectedState);
        const QByteArray peer = "127.0.0.1:" + QByteArray::number(endlessClient.socket.localPort());
        endlessClient.socket.write("set(1000, name[" + QByteArray(4 * 1024 * 1024, 'x'));
        garbage(program, 1);
        if (QTest::currentTestFailed())
            return;
        crowd(program, true);
        // Closed after its one reply, and the console says why.
        QVERIFY(TestKit::waitUntil(
                [&] {
                    return endlessClient.socket.state() == QAbstractSocket::UnconnectedState
                            || endlessClient.replyCount() > 1;
                },
                20000));
        QCOMPARE(endlessClient.replyCount(), 1);
        QVERIFY(endlessClient.received.endsWith("xxx...>\n<END 8 (command too long)>\n"));
        QCOMPARE(endlessClient.socket.state(), QAbstractSocket::UnconnectedState);
        const QByteArray said = peer + " sent a command longer than ";
        QVERIFY(TestKit::waitUntil([&] { return program.console().contains(said); }));
        QVERIFY(program.console().contains(said + "65536 bytes: closing it\n"));
        m_peakKiB = qMax(m_peakKiB, program.residentKiB());
        TestKit::resetConnection(flood.socket);
        break;
    }
    }
    if (QTest::currentTestFailed())
        return;
    m_peakKiB = qMax(m_peakKiB, program.residentKiB());
    // The ordinary client was answered throughout.
    QTRY_VERIFY_WITH_TIMEOUT(regular.answeredSince(askedBefore), 10000);
    QVERIFY(program.running());
}

void TestSimulatorFaults::crowd(SimulatorProcess &program, bool midCommand)
{
    Crowd clients;
    const auto connected = [&] {
        return std::all_of(clients.cbegin(), clients.cend(), [](const auto &client) {
            return client->socket.state() == QAbstractSocket::ConnectedState;
        });
    };
    {
        // Held still while the crowd connects, as a busy simulator is: the
        // system's queue must take every client, turning none away.
        const qint64 overflows = listenOverflows();
        const auto pid = pid_t(program.pid());
        ::kill(pid, SIGSTOP);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        for (int i = 0; i < kCrowd; ++i)
            clients.push_back(std::make_unique<RecordingClient>(program.port()));
        TestKit::waitUntil([&] { return connected() || (m_privateNetwork && listenOverflows() != overflows); }, 20000);
        if (m_privateNetwork)
            QCOMPARE(listenOverflows(), overflows);
        QVERIFY(connected());
    }
    // Only the crowd's own clients are counted out: other abusers of the
    // same round come and go meanwhile, and a port may have served an
    // earlier client. A client reset before the simulator took it from its
    // accept queue has no peer any more and is reported at port 0; only a
    // crowd resets that fast.
    QHash<quint16, int> leftBefore;
    for (const auto &client : clients)
        leftBefore.insert(client->socket.localPort(), program.timesLeft(client->socket.localPort()));
    const int unknownBefore = program.timesLeft(0);
    const auto crowdLeft = [&] {
        qsizetype left = program.timesLeft(0) - unknownBefore;
        for (auto it = leftBefore.cbegin(); it != leftBefore.cend(); ++it)
            left += program.timesLeft(it.key()) > it.value() ? 1 : 0;
        return left;
    };
    for (std::size_t i = 0; i < clients.size(); ++i) {
        QTcpSocket &socket = clients[i]->socket;
        if (midCommand) {
            socket.write("request(1000, control)set(1000, speed[");
            socket.flush();
        }
        if (i % 2)
            TestKit::resetConnection(socket);
        else
            socket.disconnectFromHost();
    }
    QVERIFY(TestKit::waitUntil([&] { return crowdLeft() == kCrowd; }, 30000));
}

void TestSimulatorFaults::garbage(SimulatorProcess &program, int round)
{
    QByteArray bytes = TestKit::randomBytes(1024 * 1024, 7 + round);
    // No power switching in the garbage, so the regular client's answer stays.
    bytes.replace("go)", "gx)");
    RecordingClient client(program.port());
    QTRY_COMPARE(client.socket.state(), QAbstractSocket::ConnectedState);
    client.socket.write(bytes);
    QTRY_VERIFY_WITH_TIMEOUT(client.replyCount() > 100 || client.socket.state() != QAbstractSocket::ConnectedState,
                             20000);
    // Either answered line by line, or closed for a stretch that never
    // closed its bracket: both are the simulator coping. What came is whole
    // reply blocks, the garbage echoed printable within them.
    QVERIFY(client.replyCount() > 0);
    const QByteArray whole = client.received.first(client.received.lastIndexOf('\n'));
    for (const QByteArray &line : whole.split('\n'))
        QVERIFY2(line.startsWith("<REPLY ") || line.startsWith("<END "), line.constData());
    TestKit::resetConnection(client.socket);
}

int main(int argc, char *argv[])
{
    // Before the application starts any thread.
    const bool privateNetwork = PrivateNetwork::enter();
    QCoreApplication app(argc, argv);
    TestSimulatorFaults test(privateNetwork);
    return QTest::qExec(&test, argc, argv);
}
#include "tst_simulatorfaults.moc"
