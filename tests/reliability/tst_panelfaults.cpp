// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel against a station that misbehaves, over real loopback sockets:
// it goes away mid-session, floods, sends bytes no text box expects, answers
// too late or at an address that is not one. The panel must not crash, hang,
// lose or mangle.
//
// The process runs in a network namespace of its own where it can, so that
// names that do not resolve fail here instead of asking a name server.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTcpServer>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <memory>
#include <vector>

#include "actions/panel.h"
#include "connectpanel.h"
#include "floodwriter.h"
#include "keptmemory.h"
#include "link/stationlink.h"
#include "panelfixture.h"
#include "privatenetwork.h"
#include "backloglistener.h"
#include "bytes.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "window/shape.h"

namespace {

// Tens of MiB; a quarter of that under the sanitizers, which run several
// times slower and prove the same thing with less.
#ifdef PANEL_UNDER_SANITIZER
constexpr qsizetype kFloodBytes = 8 * 1024 * 1024;
#else
constexpr qsizetype kFloodBytes = 32 * 1024 * 1024;
#endif

// A chunk as the output box shows it: every other character as it is, and
// each line break (CR LF, a lone CR or a lone LF) as one line break.
QString asDisplayed(QString chunk)
{
    return chunk.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// What the operator can see of the window and of its connection.
QStringList windowState(Main *w)
{
    QStringList state;
    state << w->Txt_Out->document()->toRawText() << w->strData() << w->Txt_IP->text();
    for (QGroupBox *panel : {w->Frm_Global, w->Frm_Loco, w->Frm_Desvios, w->Frm_MandarOrden})
        state << panel->objectName() + (panel->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
    for (QWidget *control : std::initializer_list<QWidget *>{w->Lbl_Go, w->Lbl_Stop, w->Lbl_PushGO, w->Sh_Go})
        state << control->objectName() + (control->isVisible() ? QStringLiteral(" shown") : QStringLiteral(" hidden"));
    state << QString::number(w->Sh_Go->fillColor(), 16) << QString::number(w->Sh_Stop->fillColor(), 16);
    state << (w->Pb_Connect->font().bold() ? QStringLiteral("connect bold") : QStringLiteral("connect plain"));
    return state;
}

} // namespace

class TestPanelFaults : public QObject
{
    Q_OBJECT

public:
    explicit TestPanelFaults(bool privateNetwork) : m_privateNetwork(privateNetwork) {}

private slots:
    void connectsToPort15471();
    void stationGoesAway_data();
    void stationGoesAway();
    void floodIsReadWhole();
    void oddRepliesKeptExactly_data();
    void oddRepliesKeptExactly();
    void lateStation_data();
    void lateStation();
    void hostNames_data();
    void hostNames();
    void cleanup();
    void cleanupTestCase();

private:
    const bool m_privateNetwork;
    // A panel connected once and powered on, for the tables whose rows each
    // need one operator action or one reply.
    PanelFixture *sharedPanel();

    std::unique_ptr<PanelFixture> m_shared;
};

void TestPanelFaults::connectsToPort15471()
{
    if (!m_privateNetwork)
        QSKIP("no network namespace of our own: port 15471 may be another program's here");
    QTcpServer station;
    QVERIFY(station.listen(QHostAddress::LocalHost, 15471));
    // The panel as the program makes it, its port untouched.
    Panel panel;
    QVERIFY(TestKit::connectPanel(panel.window()));
    QVERIFY(station.hasPendingConnections() || station.waitForNewConnection(5000));
}

void TestPanelFaults::stationGoesAway_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("station closes") << false;
    QTest::newRow("station resets (RST)") << true;
}

void TestPanelFaults::stationGoesAway()
{
    QFETCH(bool, reset);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    PanelFixture::click(w->Pb_Loco_Request);
    QCOMPARE(panel.receive("request(1000, control)"), QByteArray("request(1000, control)"));
    panel.reply("<REPLY request(1000, control)>\n<END 0 (OK)>\n");
    QTRY_COMPARE(w->strData(), QStringLiteral("<REPLY request(1000, control)>\n<END 0 (OK)>\n"));
    const QStringList before = windowState(w);

    if (reset)
        panel.station().resetClient();
    else
        panel.station().closeClient();
    QTRY_VERIFY(!panel.link()->isConnected());
    QCOMPARE(windowState(w), before);

    // Every action after it reports the lost station and leaves the rest.
    const auto actions = {static_cast<QWidget *>(w->PB_Loco_Release), static_cast<QWidget *>(w->Pb_Loco_For),
                          static_cast<QWidget *>(w->Pb_Function_On),  static_cast<QWidget *>(w->Pb_Switch_On),
                          static_cast<QWidget *>(w->Pb_Locos_List),   static_cast<QWidget *>(w->Pb_Command_Line),
                          static_cast<QWidget *>(w->Slider_Loco),     static_cast<QWidget *>(w->Lbl_Stop)};
    for (QWidget *control : actions) {
        w->Txt_Out->setPlainText(QStringLiteral("before"));
        if (control == w->Slider_Loco)
            QTest::keyClick(control, Qt::Key_Up);
        else
            PanelFixture::click(control);
        QVERIFY2(w->Txt_Out->toPlainText() == QStringLiteral("CS no conectada"), qPrintable(control->objectName()));
        QCOMPARE(w->strData(), before.at(1));
    }
    // Refused, the speed and the accessory state never went out, so their
    // fields keep what was last sent; Stop still closes the panels.
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral("Speed"));
    QCOMPARE(w->Txt_Switch_Status->text(), QStringLiteral("Status"));
    QCOMPARE(w->Slider_Loco->value(), 1);
    QVERIFY(!w->Frm_Loco->isEnabled());

    // The station saw the one command, whole and once; a new connection
    // carries only what is sent on it.
    QCOMPARE(panel.received(), QByteArray("request(1000, control)"));
    panel.clearReceived();
    QVERIFY(panel.connectToStation());
    PanelFixture::click(w->Lbl_Go);
    QCOMPARE(panel.received(), QByteArray("set(1, go)"));
}

void TestPanelFaults::floodIsReadWhole()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    const TestKit::KeptMemory kept;

    // Lines of the station's kind; 61 bytes, so no chunk starts where the
    // one before it did.
    const QByteArray line = "1000 addr[3] name[\"Tank engine\"] speed[42] dir[0] func[3, 1]\n";
    qsizetype total = 0;
    qsizetype largest = 0;
    qsizetype atClick = -1;
    qsizetype firstWrong = -1;
    QString last;
    QObject receiver;
    connect(panel.link(), &StationLink::dataArrived, &receiver, [&](const QString &chunk, qint64 byteCount) {
        // What a pass hands on is the end of what it read.
        const qsizetype chunkStart = total + qsizetype(byteCount) - chunk.size();
        for (qsizetype i = 0; i < chunk.size() && firstWrong < 0; ++i) {
            if (chunk.at(i).unicode() != uchar(line.at((chunkStart + i) % line.size())))
                firstWrong = chunkStart + i;
        }
        total += qsizetype(byteCount);
        largest = qMax(largest, chunk.size());
        last = chunk;
        // A click that waits its turn in the event loop, as a person's does.
        if (atClick == -1 && total >= kFloodBytes / 8) {
            atClick = 0;
            QTimer::singleShot(0, &receiver, [&] {
                atClick = total;
                PanelFixture::click(w->Pb_Locos_List);
            });
        }
    });

    TestKit::FloodWriter flood(int(panel.stationSide()->socketDescriptor()), kFloodBytes, line);
    // The box holds one pass's text at most, never passes piled up.
    const auto shown = [w] { return w->Txt_Out->document()->characterCount() - 1; };
    QTRY_VERIFY_WITH_TIMEOUT(total >= kFloodBytes || firstWrong >= 0 || shown() > 65536, 90000);
    QVERIFY2(shown() <= 65536, qPrintable(QString::number(shown())));
    QCOMPARE(firstWrong, -1);
    QCOMPARE(total, kFloodBytes);
    QVERIFY2(largest <= 65536, qPrintable(QString::number(largest)));
    QVERIFY2(atClick > 0 && atClick < kFloodBytes, qPrintable(QString::number(atClick)));
    QCOMPARE(w->strData(), last);
    QTRY_COMPARE(PanelFixture::shownText(w->Txt_Out), last);

    PanelFixture::click(w->Pb_Switch_List);
    const QByteArray both = "queryObjects(10, addr, name)queryObjects(11, addr, name1)";
    QCOMPARE(panel.receive(both), both);
#if defined(__GLIBC__) && !defined(PANEL_UNDER_SANITIZER) // glibc's own heap keeps freed memory
    // Once the flood is over, what the C library keeps goes back to the system.
    QVERIFY(kept.handedBack(2000));
#endif
}

void TestPanelFaults::oddRepliesKeptExactly_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("NUL bytes") << QByteArray("dir[\0]\0<END 0 (OK)>\0", 21);
    QTest::newRow("every byte 0x00 to 0xFF") << TestKit::byteRange();
    QTest::newRow("lone CR") << QByteArray("<REPLY get(1, status)>\r1 status[go]\r");
    QTest::newRow("lone LF") << QByteArray("\n<END 0 (OK)>\n\n");
    QTest::newRow("CR LF, LF CR") << QByteArray("a\r\nb\n\rc\r\n\r\n");
    QTest::newRow("1 MiB line without a blank") << QByteArray("queryObjects[1000,addr[3],name[\"Tank-engine\"]]")
                                                           .repeated(1024 * 1024 / 47)
                                                           .leftJustified(1024 * 1024, 'x');
    QTest::newRow("markup") << QByteArray("<!DOCTYPE html><html><body><h1>Go</h1><script>alert(1)</script>"
                                          "&amp; &lt;b&gt; &#x41; <img src=\"x.png\"></body></html>\n");
    QTest::newRow("no-break space, soft hyphen, NEL") << QByteArray("a\xa0"
                                                                    "b\xad"
                                                                    "c\x85"
                                                                    "d");
}

void TestPanelFaults::oddRepliesKeptExactly()
{
    QFETCH(QByteArray, bytes);
    PanelFixture *shared = sharedPanel();
    QVERIFY(shared);
    PanelFixture &panel = *shared;
    Main *w = panel.window();
    panel.clearReceived();
    qsizetype total = 0;
    QString last;
    qsizetype largest = 0;
    QObject receiver;
    connect(panel.link(), &StationLink::dataArrived, &receiver, [&](const QString &chunk, qint64 byteCount) {
        total += qsizetype(byteCount);
        last = chunk;
        largest = qMax(largest, chunk.size());
    });

    panel.reply(bytes);
    QTRY_VERIFY_WITH_TIMEOUT(total >= bytes.size(), 30000);
    QCOMPARE(total, bytes.size());
    // The last pass handed on the reply's end, byte for byte.
    QVERIFY(!last.isEmpty());
    QCOMPARE(last, QString::fromLatin1(bytes.right(last.size())));
    QVERIFY2(largest <= 65536, qPrintable(QString::number(largest)));
    QCOMPARE(w->strData(), last);
    // Within a frame the box ends with the reply; then it holds nothing else.
    QTRY_VERIFY(PanelFixture::shownText(w->Txt_Out).endsWith(asDisplayed(last)));
    QCOMPARE(PanelFixture::shownText(w->Txt_Out), asDisplayed(last));

    // Still answering.
    PanelFixture::click(w->Pb_Locos_List);
    QCOMPARE(panel.receive("queryObjects(10, addr, name)"), QByteArray("queryObjects(10, addr, name)"));
}

void TestPanelFaults::lateStation_data()
{
    QTest::addColumn<bool>("queueFull");
    QTest::newRow("accept queue full: attempt unanswered") << true;
    QTest::newRow("same station with room: answered") << false;
}

void TestPanelFaults::lateStation()
{
    QFETCH(bool, queueFull);
    TestKit::BacklogListener station;
    QVERIFY(station.fillQueue());
    if (!queueFull)
        station.acceptAll();
    PanelFixture panel(station.port());
    Main *w = panel.window();
    QCOMPARE(TestKit::connectPanel(*w), !queueFull);

    if (!queueFull) {
        QVERIFY(w->Lbl_Go->isVisible());
        QCOMPARE(station.acceptAll(), 1);
        return;
    }
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS no encontrada"));
    QVERIFY(!w->Lbl_Go->isVisible());
    // The attempt is given up for good: its socket is closed, so its SYN is
    // never sent again once there is room.
    QCOMPARE(panel.link()->findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);
}

void TestPanelFaults::hostNames_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("ipv6Station");
    QTest::addColumn<bool>("connected");
    // The lookup of a name may ask a name server; only inside the process's
    // own network can that fail here without leaving the machine.
    QTest::addColumn<bool>("looksUpName");

    QTest::newRow("::1, station on IPv6 loopback") << "::1" << true << true << false;
    QTest::newRow("localhost") << "localhost" << false << true << false;
    QTest::newRow("::1, station on 127.0.0.1 only") << "::1" << false << false << false;
    QTest::newRow("name that does not resolve") << "no-such-station.invalid" << false << false << true;
    QTest::newRow("empty") << "" << false << false << false;
    QTest::newRow("dotted address out of range") << "127.0.0.300" << false << false << true;
    QTest::newRow("address with a port") << "127.0.0.1:15471" << false << false << true;
    QTest::newRow("malformed IPv6") << "::1::2" << false << false << true;
    QTest::newRow("a URL") << "http://127.0.0.1/" << false << false << true;
    QTest::newRow("100,000 characters") << QString(100000, QLatin1Char('a')) << false << false << true;
    QTest::newRow("control characters") << "127.0.0.1\r\n\x01" << false << false << true;
    QTest::newRow("outside Latin-1") << QString::fromUtf8("estaci\xc3\xb3n-\xe2\x82\xac.invalid") << false << false
                                     << true;
    QTest::newRow(") and ,") << "127.0.0.1), (1" << false << false << true;
}

void TestPanelFaults::hostNames()
{
    QFETCH(QString, host);
    QFETCH(bool, ipv6Station);
    QFETCH(bool, connected);
    QFETCH(bool, looksUpName);
    if (looksUpName && !m_privateNetwork)
        QSKIP("no network namespace of our own: the lookup would reach the name server");

    QTcpServer ipv6;
    if (ipv6Station && !ipv6.listen(QHostAddress::LocalHostIPv6, 0))
        QSKIP("no IPv6 loopback here");
    PanelFixture panel(ipv6Station ? std::optional<quint16>(ipv6.serverPort()) : std::nullopt);
    Main *w = panel.window();
    PanelFixture::pasteInto(w->Txt_IP, host);
    QCOMPARE(w->Txt_IP->text(), host);

    const TestKit::ConnectAnswer answer = TestKit::pressConnect(*w);
    QVERIFY2(answer.ms >= 510, qPrintable(QString::number(answer.ms)));
    QCOMPARE(w->Txt_Out->toPlainText(),
             connected ? QStringLiteral("CS conectada") : QStringLiteral("CS no encontrada"));
    QCOMPARE(w->Lbl_Go->isVisible(), connected);
    QCOMPARE(panel.link()->isConnected(), connected);
    if (!connected)
        QCOMPARE(panel.link()->findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);
}

void TestPanelFaults::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPanelFaults::cleanupTestCase()
{
    m_shared.reset();
}

PanelFixture *TestPanelFaults::sharedPanel()
{
    if (!m_shared) {
        m_shared = std::make_unique<PanelFixture>();
        if (!m_shared->connectAndPowerOn())
            m_shared.reset();
    }
    return m_shared.get();
}

int main(int argc, char *argv[])
{
    // Before the application starts any thread.
    const bool privateNetwork = PrivateNetwork::enter();
    QApplication app(argc, argv);
    TestPanelFaults test(privateNetwork);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_panelfaults.moc"
