// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandsplitter.h"
#include "parsedcommand.h"
#include "replyblock.h"
#include "simulatoroptions.h"
#include "station.h"
#include "stationserver.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "bytes.h"
#include "childprogram.h"
#include "privatenetwork.h"
#include "simulatorprocess.h"
#include "waituntil.h"

namespace {

QByteArray okReply(const QByteArray &command, const QByteArray &lines = {})
{
    return "<REPLY " + command + ">\n" + lines + "<END 0 (OK)>\n";
}

QByteArray errorReply(const QByteArray &command, int code, const QByteArray &text)
{
    return "<REPLY " + command + ">\n<END " + QByteArray::number(code) + " (" + text + ")>\n";
}

// A client on a bare non-blocking socket, so that it can read at any moment,
// even in the middle of the station's handling of a command.
struct BareClient
{
    explicit BareClient(quint16 port)
    {
        sockaddr_in station{};
        station.sin_family = AF_INET;
        station.sin_port = htons(port);
        station.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<const sockaddr *>(&station), sizeof station);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    ~BareClient() { ::close(fd); }
    BareClient(const BareClient &) = delete;
    BareClient &operator=(const BareClient &) = delete;
    void send(const QByteArray &bytes) { ::send(fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL); }
    void readWhatIsThere()
    {
        char buffer[64 * 1024];
        ssize_t got = 0;
        while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            received.append(buffer, got);
        closed = closed || got == 0;
    }

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QByteArray received;
    bool closed = false;
};

QByteArrayList feedWhole(CommandSplitter &splitter, const QByteArray &bytes)
{
    return splitter.feed(bytes);
}

using Client = TestKit::RecordingClient;

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

public:
    explicit TestSimulator(bool privateNetwork) : m_privateNetwork(privateNetwork) {}

private slots:
    void initTestCase();
    void splitsCommands_data();
    void splitsCommands();
    void splitsAtEveryBytePosition_data();
    void splitsAtEveryBytePosition();
    void givesUpOnEndlessCommand_data();
    void givesUpOnEndlessCommand();
    void staysBoundedOnGarbage();

    void parsesCommands_data();
    void parsesCommands();

    void repliesToEveryCommand_data();
    void repliesToEveryCommand();
    void freesControlWhenClientLeaves();
    void changesAllOrNothing();

    void servesSeveralClientsAtOnce();
    void writesRepliesInChunks();
    void closesAfterNthCommand_data();
    void closesAfterNthCommand();
    void closesEndlessCommand();
    void answersBurstOnlyWhenAsked_data();
    void answersBurstOnlyWhenAsked();
    void repliesToClientThatStopsSending();
    void stopsReadingFromClientThatDoesNotRead();
    void readsOnOnceRepliesAreTaken();
    void keepsRepliesInOrderForAReadingClient();

    void readsOptions_data();
    void readsOptions();
    void programPrintsHelp();
    void programListensWhereAsked_data();
    void programListensWhereAsked();
    void programExitStatus_data();
    void programExitStatus();
    void programServesPrintsAndLogs();

private:
    // The test runs in a network namespace of its own, where the program
    // may take its default port.
    const bool m_privateNetwork;
    // A port that is taken, for the program to fail on.
    QTcpServer m_busy;
};

void TestSimulator::initTestCase()
{
    QVERIFY(m_busy.listen(QHostAddress::LocalHost, 0));
}

void TestSimulator::splitsCommands_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<QByteArray>("pending");

    QTest::newRow("one command") << QByteArray("set(1, go)") << QByteArrayList{"set(1, go)"} << QByteArray();
    QTest::newRow("back to back, nothing between")
            << QByteArray("set(1, go)set(1, stop)request(1000, control)")
            << QByteArrayList{"set(1, go)", "set(1, stop)", "request(1000, control)"} << QByteArray();
    QTest::newRow("blanks and line breaks between") << QByteArray(" \r\n\tset(1, go)\n\n  set(1, stop) \r\n")
                                                    << QByteArrayList{"set(1, go)", "set(1, stop)"} << QByteArray();
    QTest::newRow("line break inside a command is kept")
            << QByteArray("set(1000,\n speed[3])") << QByteArrayList{"set(1000,\n speed[3])"} << QByteArray();
    QTest::newRow(") and ( in brackets") << QByteArray("set(1000, x[)(])get(1, status)")
                                         << QByteArrayList{"set(1000, x[)(])", "get(1, status)"} << QByteArray();
    QTest::newRow("nested brackets") << QByteArray("set(1, a[[)]])x(1)") << QByteArrayList{"set(1, a[[)]])", "x(1)"}
                                     << QByteArray();
    QTest::newRow(") and ( in quotes inside brackets")
            << QByteArray("set(1000, name[\"a)b(c]\"])x(1)") << QByteArrayList{"set(1000, name[\"a)b(c]\"])", "x(1)"}
            << QByteArray();
    QTest::newRow(") in quotes outside brackets")
            << QByteArray("say(\")\")x(1)") << QByteArrayList{"say(\")\")", "x(1)"} << QByteArray();
    QTest::newRow("nested parentheses") << QByteArray("a(b(c))d(1)") << QByteArrayList{"a(b(c))", "d(1)"}
                                        << QByteArray();
    QTest::newRow("line break before any ( ends typed text")
            << QByteArray("hello\r\nset(1, go)") << QByteArrayList{"hello", "set(1, go)"} << QByteArray();
    QTest::newRow("lone CR before any ( ends typed text")
            << QByteArray("hello\rset(1, go)") << QByteArrayList{"hello", "set(1, go)"} << QByteArray();
    QTest::newRow("stray ) before any (")
            << QByteArray("oops)set(1, go)") << QByteArrayList{"oops)", "set(1, go)"} << QByteArray();
    QTest::newRow("unfinished command waits") << QByteArray("set(1, go)set(1000, speed[")
                                              << QByteArrayList{"set(1, go)"} << QByteArray("set(1000, speed[");
    QTest::newRow("form feed before a line break is a command")
            << QByteArray("\f\r\nset(1, go)") << QByteArrayList{"\f", "set(1, go)"} << QByteArray();
    QTest::newRow("blanks alone hold nothing") << QByteArray(" \r\n \t ") << QByteArrayList{} << QByteArray();
    QTest::newRow("empty identifiers from the panel")
            << QByteArray("release(, control)set(, speed[0])")
            << QByteArrayList{"release(, control)", "set(, speed[0])"} << QByteArray();
}

void TestSimulator::splitsCommands()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, commands);
    QFETCH(QByteArray, pending);

    CommandSplitter splitter;
    QCOMPARE(feedWhole(splitter, bytes), commands);
    QCOMPARE(splitter.pending(), pending);
    QVERIFY(!splitter.overflowed());
}

void TestSimulator::splitsAtEveryBytePosition_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("commands");

    // What the panel sends in a session, with nothing between commands.
    const QByteArrayList session{
            "set(1, go)",
            "request(1000, control)",
            "set(1000, speed[42])",
            "set(1000, dir[1])",
            "get(1000, dir)",
            "set(1000, func[3, 1])",
            "release(1000, control)",
            "request(20000, control)",
            "set(20000, state[1])",
            "queryObjects(10, addr, name)",
            "queryObjects(11, addr, name1)",
            "set(1, stop)",
    };
    QTest::newRow("a panel session") << session.join() << session;
    QTest::newRow("quotes and brackets") << QByteArray("set(1000, name[\"x)\"], y[(])\nget(1, status)")
                                         << QByteArrayList{"set(1000, name[\"x)\"], y[(])", "get(1, status)"};
}

// Whatever the network does to the stream, the same commands come out.
void TestSimulator::splitsAtEveryBytePosition()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, commands);

    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        CommandSplitter splitter;
        QByteArrayList got = splitter.feed(bytes.first(cut));
        got += splitter.feed(bytes.sliced(cut));
        QVERIFY2(got == commands, qPrintable(QStringLiteral("cut at byte %1").arg(cut)));
    }
    CommandSplitter byteByByte;
    QByteArrayList got;
    for (const char byte : bytes)
        got += byteByByte.feed(QByteArrayView(&byte, 1));
    QCOMPARE(got, commands);
}

void TestSimulator::givesUpOnEndlessCommand_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<bool>("overflowed");

    constexpr qsizetype limit = 32;
    QTest::newRow("no closing )") << "set(1, go)set(1, " + QByteArray(100, 'x') << QByteArrayList{"set(1, go)"} << true;
    QTest::newRow("quote never closed") << "x(\"" + QByteArray(100, ')') << QByteArrayList{} << true;
    QTest::newRow("bracket never closed") << "x([" + QByteArray(100, ')') << QByteArrayList{} << true;
    QTest::newRow("no ( and no line break") << QByteArray(100, 'x') << QByteArrayList{} << true;
    QTest::newRow("exactly the limit is a command") << "a(" + QByteArray(limit - 3, 'x') + ")"
                                                    << QByteArrayList{"a(" + QByteArray(limit - 3, 'x') + ")"} << false;
    QTest::newRow("one byte over the limit") << "a(" + QByteArray(limit - 2, 'x') + ")" << QByteArrayList{} << true;
}

void TestSimulator::givesUpOnEndlessCommand()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, commands);
    QFETCH(bool, overflowed);

    CommandSplitter splitter(32);
    QCOMPARE(splitter.feed(bytes), commands);
    QCOMPARE(splitter.overflowed(), overflowed);
    QVERIFY(splitter.pending().size() <= splitter.limit());
    if (overflowed)
        QCOMPARE(splitter.feed("set(1, go)"), QByteArrayList{});
}

void TestSimulator::staysBoundedOnGarbage()
{
    const QByteArray garbage = TestKit::randomBytes(1024 * 1024, 7);
    CommandSplitter splitter(1024);
    QRandomGenerator cuts(11);
    qsizetype position = 0;
    while (position < garbage.size() && !splitter.overflowed()) {
        const qsizetype size = qMin<qsizetype>(cuts.bounded(1, 5000), garbage.size() - position);
        for (const QByteArray &command : splitter.feed(garbage.sliced(position, size))) {
            QVERIFY(!command.isEmpty());
            QVERIFY(command.size() <= splitter.limit());
        }
        QVERIFY(splitter.pending().size() <= splitter.limit());
        position += size;
    }
}

void TestSimulator::parsesCommands_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("verb");
    // Each argument as name, then "=" and its values joined by "|".
    QTest::addColumn<QByteArrayList>("arguments");

    QTest::newRow("power") << QByteArray("set(1, go)") << true << QByteArray("set") << QByteArrayList{"1", "go"};
    QTest::newRow("function with two values")
            << QByteArray("set(1000, func[3, 1])") << true << QByteArray("set") << QByteArrayList{"1000", "func=3|1"};
    QTest::newRow("blanks everywhere") << QByteArray("  set ( 1000 ,  speed[ 5 ] ) ") << true << QByteArray("set")
                                       << QByteArrayList{"1000", "speed=5"};
    QTest::newRow("quoted value holding a comma and )")
            << QByteArray("x(1, name[\"a, b)\"])") << true << QByteArray("x") << QByteArrayList{"1", "name=a, b)"};
    QTest::newRow("empty brackets") << QByteArray("x(1, name[])") << true << QByteArray("x")
                                    << QByteArrayList{"1", "name="};
    QTest::newRow("no arguments") << QByteArray("queryObjects()") << true << QByteArray("queryObjects")
                                  << QByteArrayList{};
    QTest::newRow("empty identifier") << QByteArray("release(, control)") << true << QByteArray("release")
                                      << QByteArrayList{"", "control"};
    QTest::newRow("no parentheses") << QByteArray("hello") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("no verb") << QByteArray("(1, go)") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("verb starting with a digit") << QByteArray("1set(1)") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("extra )") << QByteArray("set(1, go))") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("text after )") << QByteArray("set(1, go)x") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("second command glued on")
            << QByteArray("set(1, go)set(1, stop)") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("bracket not closed") << QByteArray("set(1, func[3)") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("text after ]") << QByteArray("set(1, a[1]b)") << false << QByteArray() << QByteArrayList{};
    QTest::newRow("quote not closed") << QByteArray("set(1, \"open)") << false << QByteArray() << QByteArrayList{};
}

void TestSimulator::parsesCommands()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(QByteArray, verb);
    QFETCH(QByteArrayList, arguments);

    const ParsedCommand command = ParsedCommand::parse(text);
    QCOMPARE(command.isValid(), valid);
    if (!valid)
        return;
    QCOMPARE(command.verb(), verb);
    QByteArrayList got;
    for (const ParsedCommand::Argument &argument : command.arguments())
        got.append(argument.hasValues ? argument.name + '=' + argument.values.join('|') : argument.name);
    QCOMPARE(got, arguments);
}

void TestSimulator::repliesToEveryCommand_data()
{
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<int>("client");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    const QByteArrayList none;
    const QByteArrayList takeLoco{"request(1000, control)"};
    const QByteArrayList takeAccessory{"request(20000, control)"};
    const auto with = [](QByteArrayList list, const QByteArray &more) { return list << more; };

    // The panel's commands.
    QTest::newRow("power on") << none << 1 << QByteArray("set(1, go)") << okReply("set(1, go)");
    QTest::newRow("power off") << none << 1 << QByteArray("set(1, stop)") << okReply("set(1, stop)");
    QTest::newRow("take locomotive") << none << 1 << takeLoco.first() << okReply(takeLoco.first());
    QTest::newRow("release locomotive") << takeLoco << 1 << QByteArray("release(1000, control)")
                                        << okReply("release(1000, control)");
    QTest::newRow("set speed") << takeLoco << 1 << QByteArray("set(1000, speed[42])")
                               << okReply("set(1000, speed[42])");
    QTest::newRow("drive backward") << takeLoco << 1 << QByteArray("set(1000, dir[1])") << okReply("set(1000, dir[1])");
    QTest::newRow("ask direction") << none << 1 << QByteArray("get(1000, dir)")
                                   << okReply("get(1000, dir)", "1000 dir[0]\n");
    QTest::newRow("function on") << takeLoco << 1 << QByteArray("set(1000, func[3, 1])")
                                 << okReply("set(1000, func[3, 1])");
    QTest::newRow("take accessory") << none << 1 << takeAccessory.first() << okReply(takeAccessory.first());
    QTest::newRow("accessory on") << takeAccessory << 1 << QByteArray("set(20000, state[1])")
                                  << okReply("set(20000, state[1])");
    QTest::newRow("list locomotives") << none << 1 << QByteArray("queryObjects(10, addr, name)")
                                      << okReply("queryObjects(10, addr, name)",
                                                 "1000 addr[3] name[\"Tank engine\"]\n"
                                                 "1001 addr[24] name[\"M\xe1quina de maniobras\"]\n"
                                                 "1002 addr[78] name[\"Express\"]\n"
                                                 "1003 addr[5] name[\"Freight diesel\"]\n");
    QTest::newRow("list accessories") << none << 1 << QByteArray("queryObjects(11, addr, name1)")
                                      << okReply("queryObjects(11, addr, name1)",
                                                 "20000 addr[1] name1[\"Station entrance\"]\n"
                                                 "20001 addr[2] name1[\"Yard turnout\"]\n"
                                                 "20002 addr[3] name1[\"Home signal\"]\n");

    // The state the commands leave, read back.
    QTest::newRow("power read back") << QByteArrayList{"set(1, go)"} << 2 << QByteArray("get(1, status)")
                                     << okReply("get(1, status)", "1 status[go]\n");
    QTest::newRow("power off read back") << QByteArrayList{"set(1, go)", "set(1, stop)"} << 2
                                         << QByteArray("get(1, status)")
                                         << okReply("get(1, status)", "1 status[stop]\n");
    QTest::newRow("speed and direction read back")
            << with(with(takeLoco, "set(1000, speed[127])"), "set(1000, dir[1])") << 2
            << QByteArray("get(1000, speed, dir)") << okReply("get(1000, speed, dir)", "1000 speed[127] dir[1]\n");
    QTest::newRow("function on read back")
            << with(takeLoco, "set(1000, func[31, 1])") << 1 << QByteArray("get(1000, func[31])")
            << okReply("get(1000, func[31])", "1000 func[31, 1]\n");
    QTest::newRow("function off read back")
            << with(with(takeLoco, "set(1000, func[0, 1])"), "set(1000, func[0, 0])") << 1
            << QByteArray("get(1000, func[0])") << okReply("get(1000, func[0])", "1000 func[0, 0]\n");
    QTest::newRow("accessory read back") << with(takeAccessory, "set(20000, state[1])") << 1
                                         << QByteArray("queryObjects(11, state)")
                                         << okReply("queryObjects(11, state)",
                                                    "20000 state[1]\n20001 state[0]\n20002 state[0]\n");
    QTest::newRow("taking twice is fine") << takeLoco << 1 << takeLoco.first() << okReply(takeLoco.first());

    // Errors.
    QTest::newRow("unknown command") << none << 1 << QByteArray("drive(1000)")
                                     << errorReply("drive(1000)", 1, "unknown command");
    QTest::newRow("verb in wrong case") << none << 1 << QByteArray("SET(1, go)")
                                        << errorReply("SET(1, go)", 1, "unknown command");
    QTest::newRow("syntax error") << none << 1 << QByteArray("set(1, go") << errorReply("set(1, go", 2, "syntax error");
    QTest::newRow("garbage echoed printable")
            << none << 1 << QByteArray("\x01\xff(\n\x7f") << errorReply("?\xff(??", 2, "syntax error");
    QTest::newRow("ends of the control range echoed as ?")
            << none << 1 << QByteArray("x\x1f(\x7e\x7f)") << errorReply("x?(~?)", 2, "syntax error");
    QTest::newRow("command of 200 bytes echoed whole")
            << none << 1 << "x(" + QByteArray(198, 'y') << errorReply("x(" + QByteArray(198, 'y'), 2, "syntax error");
    QTest::newRow("long command echoed cut") << none << 1 << "x(" + QByteArray(300, 'y')
                                             << errorReply("x(" + QByteArray(198, 'y') + "...", 2, "syntax error");
    QTest::newRow("unknown locomotive") << none << 1 << QByteArray("request(999, control)")
                                        << errorReply("request(999, control)", 3, "unknown object");
    QTest::newRow("identifier left at ID")
            << none << 1 << QByteArray("set(ID, speed[3])") << errorReply("set(ID, speed[3])", 3, "unknown object");
    QTest::newRow("empty identifier") << none << 1 << QByteArray("release(, control)")
                                      << errorReply("release(, control)", 3, "unknown object");
    QTest::newRow("unknown list") << none << 1 << QByteArray("queryObjects(12, addr)")
                                  << errorReply("queryObjects(12, addr)", 3, "unknown object");
    QTest::newRow("unknown power word") << none << 1 << QByteArray("set(1, fly)")
                                        << errorReply("set(1, fly)", 4, "bad attribute");
    QTest::newRow("control of the station")
            << none << 1 << QByteArray("request(1, control)") << errorReply("request(1, control)", 4, "bad attribute");
    QTest::newRow("request without control")
            << none << 1 << QByteArray("request(1000)") << errorReply("request(1000)", 4, "bad attribute");
    QTest::newRow("address cannot be set") << takeLoco << 1 << QByteArray("set(1000, addr[4])")
                                           << errorReply("set(1000, addr[4])", 4, "bad attribute");
    QTest::newRow("unknown attribute in a list") << none << 1 << QByteArray("queryObjects(10, colour)")
                                                 << errorReply("queryObjects(10, colour)", 4, "bad attribute");
    QTest::newRow("accessory has no name")
            << none << 1 << QByteArray("get(20000, name)") << errorReply("get(20000, name)", 4, "bad attribute");
    QTest::newRow("speed over 127") << takeLoco << 1 << QByteArray("set(1000, speed[128])")
                                    << errorReply("set(1000, speed[128])", 5, "bad value");
    QTest::newRow("negative speed") << takeLoco << 1 << QByteArray("set(1000, speed[-1])")
                                    << errorReply("set(1000, speed[-1])", 5, "bad value");
    QTest::newRow("speed not a number") << takeLoco << 1 << QByteArray("set(1000, speed[fast])")
                                        << errorReply("set(1000, speed[fast])", 5, "bad value");
    QTest::newRow("direction 2") << takeLoco << 1 << QByteArray("set(1000, dir[2])")
                                 << errorReply("set(1000, dir[2])", 5, "bad value");
    QTest::newRow("direction -1") << takeLoco << 1 << QByteArray("set(1000, dir[-1])")
                                  << errorReply("set(1000, dir[-1])", 5, "bad value");
    QTest::newRow("function 32") << takeLoco << 1 << QByteArray("set(1000, func[32, 1])")
                                 << errorReply("set(1000, func[32, 1])", 5, "bad value");
    QTest::newRow("function number left at Number") << takeLoco << 1 << QByteArray("set(1000, func[Number, 1])")
                                                    << errorReply("set(1000, func[Number, 1])", 5, "bad value");
    QTest::newRow("function without on or off")
            << takeLoco << 1 << QByteArray("set(1000, func[3])") << errorReply("set(1000, func[3])", 5, "bad value");
    QTest::newRow("accessory state 2") << takeAccessory << 1 << QByteArray("set(20000, state[2])")
                                       << errorReply("set(20000, state[2])", 5, "bad value");
    QTest::newRow("speed without control") << none << 1 << QByteArray("set(1000, speed[3])")
                                           << errorReply("set(1000, speed[3])", 6, "control not held");
    QTest::newRow("accessory without control") << none << 1 << QByteArray("set(20000, state[1])")
                                               << errorReply("set(20000, state[1])", 6, "control not held");
    QTest::newRow("release not held") << none << 1 << QByteArray("release(1000, control)")
                                      << errorReply("release(1000, control)", 6, "control not held");

    // Control held by one client and refused to another.
    QTest::newRow("take what another holds")
            << takeLoco << 2 << takeLoco.first() << errorReply(takeLoco.first(), 7, "control held by another client");
    QTest::newRow("drive what another holds") << takeLoco << 2 << QByteArray("set(1000, speed[3])")
                                              << errorReply("set(1000, speed[3])", 6, "control not held");
    QTest::newRow("release what another holds") << takeLoco << 2 << QByteArray("release(1000, control)")
                                                << errorReply("release(1000, control)", 6, "control not held");
    QTest::newRow("switch what another holds") << takeAccessory << 2 << QByteArray("set(20000, state[0])")
                                               << errorReply("set(20000, state[0])", 6, "control not held");
    QTest::newRow("take after the other released")
            << with(takeLoco, "release(1000, control)") << 2 << takeLoco.first() << okReply(takeLoco.first());
    QTest::newRow("power is everyone's") << takeLoco << 2 << QByteArray("set(1, go)") << okReply("set(1, go)");
}

void TestSimulator::repliesToEveryCommand()
{
    QFETCH(QByteArrayList, before);
    QFETCH(int, client);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);

    Station station;
    for (const QByteArray &earlier : before) {
        const QByteArray earlierReply = station.execute(1, earlier);
        QVERIFY2(earlierReply.endsWith("<END 0 (OK)>\n"), earlierReply.constData());
    }
    QCOMPARE(station.execute(client, command), reply);
}

void TestSimulator::freesControlWhenClientLeaves()
{
    Station station;
    QCOMPARE(station.execute(1, "request(1000, control)"), okReply("request(1000, control)"));
    QCOMPARE(station.execute(1, "request(20001, control)"), okReply("request(20001, control)"));
    station.releaseClient(1);
    QCOMPARE(station.execute(2, "request(1000, control)"), okReply("request(1000, control)"));
    QCOMPARE(station.execute(2, "request(20001, control)"), okReply("request(20001, control)"));
}

void TestSimulator::changesAllOrNothing()
{
    Station station;
    station.execute(1, "request(1000, control)");
    QCOMPARE(station.execute(1, "set(1000, speed[10], dir[7])"),
             errorReply("set(1000, speed[10], dir[7])", 5, "bad value"));
    QCOMPARE(station.execute(1, "get(1000, speed, dir)"), okReply("get(1000, speed, dir)", "1000 speed[0] dir[0]\n"));
    QCOMPARE(station.execute(1, "set(1000, speed[10], dir[1])"), okReply("set(1000, speed[10], dir[1])"));
    QCOMPARE(station.execute(1, "get(1000, speed, dir)"), okReply("get(1000, speed, dir)", "1000 speed[10] dir[1]\n"));
}

void TestSimulator::servesSeveralClientsAtOnce()
{
    StationServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QSignalSpy commands(&server, &StationServer::commandReceived);
    QSignalSpy connected(&server, &StationServer::clientConnected);
    Client first(server.serverPort());
    Client second(server.serverPort());
    Client third(server.serverPort());
    QTRY_COMPARE(connected.count(), 3);
    const QString firstPeer = QStringLiteral("127.0.0.1:%1").arg(first.socket.localPort());

    first.socket.write("request(1000, control)");
    QTRY_COMPARE(first.replyCount(), 1);
    second.socket.write("request(1000, control)set(1, go)");
    third.socket.write("get(1000, dir)");
    QTRY_COMPARE(second.replyCount(), 2);
    QTRY_COMPARE(third.replyCount(), 1);
    QCOMPARE(first.received, okReply("request(1000, control)"));
    QCOMPARE(second.received,
             errorReply("request(1000, control)", 7, "control held by another client") + okReply("set(1, go)"));
    QCOMPARE(third.received, okReply("get(1000, dir)", "1000 dir[0]\n"));
    QCOMPARE(commands.first().at(0).toString(), firstPeer);
    QCOMPARE(commands.first().at(1).toByteArray(), QByteArray("request(1000, control)"));

    // The holder leaves: its control is free for the others. It shuts its
    // sending side, and the server, seeing it go, closes the connection, by
    // which time it has said so.
    QSignalSpy left(&server, &StationServer::clientLeft);
    QCOMPARE(::shutdown(int(first.socket.socketDescriptor()), SHUT_WR), 0);
    QTRY_COMPARE(first.socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(left.count(), 1);
    QCOMPARE(left.first().first().toString(), firstPeer);
    second.socket.write("request(1000, control)");
    QTRY_COMPARE(second.replyCount(), 3);
    QVERIFY(second.received.endsWith(okReply("request(1000, control)")));
    QCOMPARE(commands.count(), 5);
}

void TestSimulator::writesRepliesInChunks()
{
    constexpr int chunk = 16;
    StationServer server;
    server.setChunkSize(chunk);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    Client client(server.serverPort());
    QTRY_COMPARE(client.socket.state(), QAbstractSocket::ConnectedState);

    Station reference;
    const QByteArray expected =
            reference.execute(1, "queryObjects(10, addr, name)") + reference.execute(1, "get(1, status)");
    QElapsedTimer elapsed;
    elapsed.start();
    client.socket.write("queryObjects(10, addr, name)get(1, status)");
    QTRY_VERIFY(client.received.size() >= expected.size() || !expected.startsWith(client.received));
    QCOMPARE(client.received, expected);
    const qsizetype pieces = (expected.size() + chunk - 1) / chunk;
    QVERIFY2(elapsed.elapsed() >= (pieces - 1) * 10,
             qPrintable(QStringLiteral("%1 pieces in %2 ms").arg(pieces).arg(elapsed.elapsed())));
    QVERIFY(client.pieceSizes.size() > 1);
}

void TestSimulator::closesAfterNthCommand_data()
{
    QTest::addColumn<int>("chunk");
    QTest::addColumn<bool>("reads");
    QTest::newRow("replies whole") << 0 << true;
    QTest::newRow("replies in chunks") << 7 << true;
    // It never sees the close, so it is cut off; what it sends meanwhile is
    // read, logged and dropped.
    QTest::newRow("client that neither reads nor closes") << 0 << false;
}

void TestSimulator::closesAfterNthCommand()
{
    QFETCH(int, chunk);
    QFETCH(bool, reads);

    StationServer server;
    QBuffer log;
    QVERIFY(log.open(QIODevice::WriteOnly));
    server.setLog(&log);
    server.setChunkSize(chunk);
    server.setCloseAfter(2);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QSignalSpy commands(&server, &StationServer::commandReceived);
    QSignalSpy left(&server, &StationServer::clientLeft);
    Client client(server.serverPort(), reads);
    QByteArray sent = "set(1, go)get(1, status)set(1, stop)get(1, status)";
    client.socket.write(sent);
    QTRY_VERIFY(commands.count() >= 2);
    if (!reads) {
        client.socket.write("get(1, status)");
        sent += "get(1, status)";
    }

    // Let go, or a command too many taken.
    QVERIFY(TestKit::waitUntil([&] { return left.count() == 1 || commands.count() > 2; }, 10000));
    QCOMPARE(commands.count(), 2);
    QCOMPARE(left.count(), 1);
    QCOMPARE(log.data(), sent);
    if (reads)
        QCOMPARE(client.received, okReply("set(1, go)") + okReply("get(1, status)", "1 status[go]\n"));
}

void TestSimulator::answersBurstOnlyWhenAsked_data()
{
    QTest::addColumn<qsizetype>("burstBytes");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<qsizetype>("leastSize");

    QTest::newRow("off: an unknown command") << qsizetype(0) << QByteArray("burst()") << qsizetype(0);
    QTest::newRow("4 MiB") << qsizetype(4 * 1024 * 1024) << QByteArray("burst()") << qsizetype(4 * 1024 * 1024);
    QTest::newRow("less than a line: one whole line") << qsizetype(45) << QByteArray("burst()") << qsizetype(45);
    QTest::newRow("on, other commands unchanged") << qsizetype(1000) << QByteArray("get(1, status)") << qsizetype(0);
}

void TestSimulator::answersBurstOnlyWhenAsked()
{
    QFETCH(qsizetype, burstBytes);
    QFETCH(QByteArray, command);
    QFETCH(qsizetype, leastSize);

    StationServer server;
    server.setBurstBytes(burstBytes);
    // Closed once both replies are out: bytes lost on the way end the wait.
    server.setCloseAfter(2);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    Client client(server.serverPort());
    client.socket.write(command + "get(1000, speed)");
    QVERIFY(TestKit::waitUntil(
            [&] { return client.replyCount() == 2 || client.socket.state() == QAbstractSocket::UnconnectedState; }));
    QCOMPARE(client.replyCount(), 2);
    const QByteArray last = okReply("get(1000, speed)", "1000 speed[0]\n");
    QVERIFY(client.received.endsWith(last));
    const QByteArray reply = client.received.chopped(last.size());
    if (leastSize == 0) {
        QCOMPARE(reply, Station().execute(1, command));
        return;
    }
    QVERIFY2(reply.size() >= leastSize, QByteArray::number(reply.size()).constData());
    const QByteArray line = "1000 name[\"Tank engine\"] addr[3] speed[0] dir[0]\n";
    const QByteArray body = reply.sliced(16, reply.size() - 16 - 13);
    QCOMPARE(reply.first(16), QByteArray("<REPLY burst()>\n"));
    QCOMPARE(reply.last(13), QByteArray("<END 0 (OK)>\n"));
    QCOMPARE(body.size() % line.size(), 0);
    QCOMPARE(body, line.repeated(body.size() / line.size()));
    QVERIFY(body.size() - line.size() <= leastSize);
}

void TestSimulator::closesEndlessCommand()
{
    StationServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QSignalSpy tooLong(&server, &StationServer::commandTooLong);
    Client endless(server.serverPort());
    Client bystander(server.serverPort());
    // Far more than the limit: the client is still sending when it is closed,
    // which must not cost it the replies on their way.
    endless.socket.write("set(1, go)set(1000, name[" + QByteArray(64 * CommandSplitter::kDefaultLimit, ']'));

    // Closed after its two replies, not answered on.
    QVERIFY(TestKit::waitUntil(
            [&] { return endless.socket.state() == QAbstractSocket::UnconnectedState || endless.replyCount() > 2; }));
    QCOMPARE(endless.replyCount(), 2);
    QCOMPARE(endless.socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(tooLong.count(), 1);
    QVERIFY(endless.received.startsWith(okReply("set(1, go)")));
    QVERIFY(endless.received.endsWith("]]]...>\n<END 8 (command too long)>\n"));
    bystander.socket.write("get(1, status)");
    QTRY_COMPARE(bystander.replyCount(), 1);
    QCOMPARE(bystander.received, okReply("get(1, status)", "1 status[go]\n"));
}

// As a script piping commands into a network tool does: send, shut the
// sending side, read to the end.
void TestSimulator::repliesToClientThatStopsSending()
{
    StationServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    Client client(server.serverPort());
    QTRY_COMPARE(client.socket.state(), QAbstractSocket::ConnectedState);
    client.socket.write("set(1, go)get(1, status)");
    QVERIFY(client.socket.flush());
    QCOMPARE(::shutdown(int(client.socket.socketDescriptor()), SHUT_WR), 0);

    QTRY_COMPARE(client.socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(client.received, okReply("set(1, go)") + okReply("get(1, status)", "1 status[go]\n"));
}

// A client that sends without reading its replies must wait in the network;
// the simulator's memory does not grow with what it sends. Its replies,
// going out a byte each 10 ms, wait in the simulator: as many as the
// commands it read call for, less what arrived.
void TestSimulator::stopsReadingFromClientThatDoesNotRead()
{
    StationServer server;
    server.setChunkSize(1);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QSignalSpy commands(&server, &StationServer::commandReceived);
    Client flood(server.serverPort());
    const QByteArray command = "get(1, status)";
    const qsizetype replySize = okReply(command, "1 status[stop]\n").size();
    const auto waiting = [&] { return commands.count() * replySize - flood.received.size(); };
    flood.socket.write(command.repeated(70000));

    // Reading stops at 256 KiB of replies waiting, one step's replies past
    // it at most: a read of 4 KiB of commands.
    constexpr qsizetype stop = 256 * 1024;
    const qsizetype bound = stop + 4096 / command.size() * replySize;
    QTRY_VERIFY(waiting() >= stop || commands.count() == 70000);
    for (int sample = 0; sample < 20; ++sample) {
        QVERIFY(waiting() < bound);
        QTest::qWait(10);
    }
    QVERIFY(commands.count() < 70000 / 10);
}

// Held back while a large reply waits, a client is read again as the reply
// leaves: the command behind it is answered.
void TestSimulator::readsOnOnceRepliesAreTaken()
{
    StationServer server;
    server.setBurstBytes(300 * 1024);
    server.setChunkSize(16 * 1024);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    Client client(server.serverPort());
    // Blanks put the second command past the first read.
    client.socket.write("burst()" + QByteArray(5000, ' ') + "get(1, status)");
    QVERIFY(TestKit::waitUntil([&] { return client.replyCount() == 2; }));
    QVERIFY(client.received.endsWith(okReply("get(1, status)", "1 status[stop]\n")));
}

// A reply made while an earlier one still waits in the socket's buffer
// leaves after it, though the client has just made room in the network.
void TestSimulator::keepsRepliesInOrderForAReadingClient()
{
    StationServer server;
    server.setBurstBytes(4 * 1024 * 1024);
    server.setCloseAfter(2);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    BareClient client(server.serverPort());
    qsizetype arrivedAtSecond = -1;
    connect(&server, &StationServer::commandReceived, &server, [&](const QString &, const QByteArray &command) {
        if (command != "get(1, status)")
            return;
        client.readWhatIsThere();
        arrivedAtSecond = client.received.size();
    });
    client.send("burst()get(1, status)");
    QVERIFY(TestKit::waitUntil([&] {
        client.readWhatIsThere();
        return client.received.count("<END ") == 2 || client.closed;
    }));
    QCOMPARE(client.received.count("<END "), 2);
    QVERIFY2(arrivedAtSecond >= 0 && arrivedAtSecond < 4 * 1024 * 1024,
             "the first reply had all arrived before the second command was read");
    const QByteArray last = okReply("get(1, status)", "1 status[stop]\n");
    QCOMPARE(client.received.indexOf("<REPLY get(1, status)>"), client.received.size() - last.size());
    QVERIFY(client.received.endsWith(last));
}

void TestSimulator::readsOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    // What was read, or why it was refused.
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QStringList &arguments, const char *expected) {
        QTest::newRow(name) << arguments << QString::fromUtf8(expected);
    };
    const char *const defaults = "127.0.0.1 port 15471, chunk 0, close after 0, burst 0, log \"\"";
    row("no options: the defaults", {}, defaults);
    row("localhost is 127.0.0.1", {"--host", "localhost"}, defaults);
    row("IPv6 loopback", {"--host", "::1"}, "::1 port 15471, chunk 0, close after 0, burst 0, log \"\"");
    row("every option", {"--port", "0", "--chunk", "7", "--close-after", "2", "--burst", "100", "--log", "x.log"},
        "127.0.0.1 port 0, chunk 7, close after 2, burst 100, log \"x.log\"");
    row("the last port", {"--port", "65535"}, "127.0.0.1 port 65535, chunk 0, close after 0, burst 0, log \"\"");
    row("the first port past the last", {"--port", "65536"}, "--port needs a number from 0 to 65535");
    row("port not a number", {"--port", "abc"}, "--port needs a number from 0 to 65535");
    row("negative chunk", {"--chunk", "-1"}, "--chunk needs a whole number, 0 or more");
    row("close-after not a number", {"--close-after", "x"}, "--close-after needs a whole number, 0 or more");
    row("negative burst", {"--burst", "-5"}, "--burst needs a whole number, 0 or more");
    row("host not an address", {"--host", "nowhere"}, "--host needs an IP address, not \"nowhere\"");
    row("log without a name", {"--log", ""}, "--log needs a file name");
    row("layout without a name", {"--layout", ""}, "--layout needs a file name");
}

void TestSimulator::readsOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    QVERIFY(parser.parse(QStringList{QStringLiteral("simulator")} + arguments));
    SimulatorOptions options;
    if (!options.read(parser)) {
        QCOMPARE(options.errorString, expected);
        return;
    }
    QCOMPARE(QStringLiteral("%1 port %2, chunk %3, close after %4, burst %5, log \"%6\"")
                     .arg(options.host.toString())
                     .arg(options.port)
                     .arg(options.chunkSize)
                     .arg(options.closeAfter)
                     .arg(options.burstBytes)
                     .arg(options.logPath),
             expected);
}

void TestSimulator::programPrintsHelp()
{
    QProcess program;
    program.start(TestKit::SimulatorProcess::executable(), {QStringLiteral("--help")});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    const QByteArray output = program.readAllStandardOutput();
    // Blanks simplified: a description may wrap anywhere.
    const QByteArray help = output.simplified();
    for (const char *option : {"--host <address>", "--port <port>", "--chunk <N>", "--close-after <N>", "--log <file>",
                               "--layout <file>", "at most 1 MiB", "10 ms apart", "--burst <N>", "--help", "--version"})
        QVERIFY2(help.contains(option), option);
    // Qt wraps an option's text at 79 columns: a line that ends before the
    // next word would have filled it was broken by hand.
    const QList<QByteArray> lines = output.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray next = lines[i].trimmed();
        if (lines[i].startsWith("   ") && !next.isEmpty())
            QVERIFY2(lines[i - 1].size() + 1 + next.split(' ').constFirst().size() > 79, lines[i - 1].constData());
    }
}

void TestSimulator::programListensWhereAsked_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("address");
    // 0: the free one it picked.
    QTest::addColumn<int>("port");

    QTest::newRow("no options: 127.0.0.1 port 15471") << QStringList{} << "127.0.0.1" << 15471;
    QTest::newRow("localhost") << QStringList{"--host", "localhost", "--port", "0"} << "127.0.0.1" << 0;
    QTest::newRow("IPv6 loopback") << QStringList{"--host", "::1", "--port", "0"} << "::1" << 0;
}

void TestSimulator::programListensWhereAsked()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, address);
    QFETCH(int, port);
    if (arguments.isEmpty() && !m_privateNetwork)
        QSKIP("No network namespace of its own here, and port 15471 must not be taken on the machine's loopback");

    QProcess program;
    program.start(TestKit::SimulatorProcess::executable(), arguments);
    TestKit::waitUntil([&] { return program.canReadLine() || program.state() == QProcess::NotRunning; }, 10000);
    const QByteArray line = program.readLine().trimmed();
    const QByteArray listening = "Command station simulator listening on " + address.toLatin1() + " port ";
    QVERIFY2(line.startsWith(listening), line.constData());
    const quint16 picked = line.sliced(listening.size()).toUShort();
    QVERIFY(picked != 0);
    if (port != 0)
        QCOMPARE(picked, port);

    QTcpSocket client;
    QByteArray received;
    connect(&client, &QTcpSocket::readyRead, &client, [&] { received += client.readAll(); });
    client.connectToHost(QHostAddress(address), picked);
    client.write("get(1, status)");
    QTRY_VERIFY(received.contains("<END "));
    QCOMPARE(received, okReply("get(1, status)", "1 status[stop]\n"));
    program.kill();
    QVERIFY(program.waitForFinished(10000));
}

void TestSimulator::programExitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    // On the standard output for status 0, else on the error output.
    QTest::addColumn<QByteArray>("message");

    const QString busyPort = QString::number(m_busy.serverPort());
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("command-station-simulator 1.0.0\n");
    // Without a display: printing needs no window.
    QTest::newRow("version beside --view")
            << QStringList{"--view", "--version"} << 0 << QByteArray("command-station-simulator 1.0.0\n");
    QTest::newRow("help beside --view") << QStringList{"--help", "--view"} << 0 << QByteArray("--burst <N>");
    // Every bad value is refused alike; readsOptions has them all.
    QTest::newRow("bad value") << QStringList{"--port", "70000"} << 2
                               << QByteArray("--port needs a number from 0 to 65535\n");
    QTest::newRow("layout that cannot be read")
            << QStringList{"--port", "0", "--layout", "/nonexistent/railway.json"} << 2 << QByteArray("cannot be read");
    QTest::newRow("words that are not options")
            << QStringList{"extra", "words"} << 2
            << QByteArray("\"extra\" is not an option: the simulator takes only the options --help lists\n");
    QTest::newRow("unknown option") << QStringList{"--fast"} << 1 << QByteArray("fast");
    QTest::newRow("option without its value") << QStringList{"--port"} << 1 << QByteArray("Missing value");
    QTest::newRow("port taken") << QStringList{"--port", busyPort} << 1 << QByteArray("Cannot listen");
    QTest::newRow("log in a missing folder")
            << QStringList{"--port", "0", "--log", "/nonexistent/x.log"} << 1 << QByteArray("log file");
}

void TestSimulator::programExitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);

    QProcess program;
    program.setProcessEnvironment(TestKit::environmentWithoutDisplay());
    program.start(TestKit::SimulatorProcess::executable(), arguments);
    // It ends, or it says it listens, which fails the row at once.
    TestKit::waitUntil(
            [&] { return program.state() == QProcess::NotRunning || program.peek(4096).contains(" listening on "); },
            10000);
    QCOMPARE(program.state(), QProcess::NotRunning);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QByteArray output = exitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError();
    QVERIFY2(output.contains(message), output.constData());
}

void TestSimulator::programServesPrintsAndLogs()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString logPath = folder.filePath(QStringLiteral("received.log"));
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::WriteOnly) && log.write("earlier\n") == 8);
    log.close();
    TestKit::SimulatorProcess simulator({"--log", logPath, "--chunk", "7", "--close-after", "2"});
    const quint16 port = simulator.port();
    QVERIFY(port != 0);

    Client client(port);
    QVERIFY(client.socket.waitForConnected(5000));
    const quint16 localPort = client.socket.localPort();
    const QString peer = QStringLiteral("127.0.0.1:%1").arg(localPort);
    const QByteArray sent = "set(1, go)\r\n\xe9(\x1f\x7f)set(1, stop)";
    // A command shows while its client is still there.
    client.socket.write(sent.first(10));
    QVERIFY(TestKit::waitUntil([&] { return simulator.console().endsWith(" > set(1, go)\n  power on\n"); }));
    client.socket.write(sent.sliced(10));
    QTRY_VERIFY(client.socket.state() == QAbstractSocket::UnconnectedState || client.replyCount() > 2);
    QCOMPARE(client.received, okReply("set(1, go)") + errorReply("\xe9(?\?)", 2, "syntax error"));
    QCOMPARE(client.socket.state(), QAbstractSocket::UnconnectedState);

    QTRY_COMPARE(simulator.timesLeft(localPort), 1);
    const QString lines =
            "%1 connected\n%1 > set(1, go)\n  power on\n%1 > \u00e9(?\?)\n  refused: syntax error\n%1 left\n";
    const QByteArray expected = lines.arg(peer).toUtf8();
    QCOMPARE(simulator.console(), expected);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), "earlier\n" + sent);

    QVERIFY(simulator.stop());
}

int main(int argc, char *argv[])
{
    // Before the application starts any thread.
    const bool privateNetwork = PrivateNetwork::enter();
    QCoreApplication app(argc, argv);
    TestSimulator test(privateNetwork);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_simulator.moc"
