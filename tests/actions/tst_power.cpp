// Track power, the lists, the free command line and what the output box
// shows of the station's replies.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "actions/panelactions.h"
#include "link/stationlink.h"
#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "window/shape.h"

namespace {

// What the output box holds, character for character (its plain-text view
// would turn a no-break space into a blank).
QString shownText(QPlainTextEdit *box)
{
    return box->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

class TestPower : public QObject
{
    Q_OBJECT

private slots:
    void powerClicks_data();
    void powerClicks();
    void lampClickDoesNothing();
    void buttonsSendTheirCommand_data();
    void buttonsSendTheirCommand();
    void submitSendsAgainAndKeepsField();
    void quickCommandsArriveBackToBack();
    void outputBeforeAnyData();
    void replyInTwoChunksShowsTheSecond();
    void repliesShownUnchanged_data();
    void repliesShownUnchanged();
    void sendAfterStationClosed();
    void sendWhenNeverConnected();
};

void TestPower::powerClicks_data()
{
    // G is a click on "Go", S one on "Stop".
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QRgb>("go");
    QTest::addColumn<QRgb>("stop");
    QTest::addColumn<bool>("panelsOpen");

    QTest::newRow("go") << "G" << QByteArray("set(1, go)") << Main::kGoLit << Main::kStopDark << true;
    QTest::newRow("go twice sends twice")
            << "GG" << QByteArray("set(1, go)set(1, go)") << Main::kGoLit << Main::kStopDark << true;
    QTest::newRow("stop right after connecting")
            << "S" << QByteArray("set(1, stop)") << Main::kGoDark << Main::kStopLit << false;
    QTest::newRow("go then stop") << "GS" << QByteArray("set(1, go)set(1, stop)") << Main::kGoDark << Main::kStopLit
                                  << false;
    QTest::newRow("go stop go") << "GSG" << QByteArray("set(1, go)set(1, stop)set(1, go)") << Main::kGoLit
                                << Main::kStopDark << true;
    QTest::newRow("stop twice") << "SS" << QByteArray("set(1, stop)set(1, stop)") << Main::kGoDark << Main::kStopLit
                                << false;
}

void TestPower::powerClicks()
{
    QFETCH(QString, clicks);
    QFETCH(QByteArray, wire);
    QFETCH(QRgb, go);
    QFETCH(QRgb, stop);
    QFETCH(bool, panelsOpen);

    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    for (QChar c : clicks)
        PanelFixture::click(c == u'G' ? w->Lbl_Go : w->Lbl_Stop);
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
    QCOMPARE(w->Sh_Go->fillColor(), go);
    QCOMPARE(w->Sh_Stop->fillColor(), stop);
    for (QGroupBox *frame : {w->Frm_Global, w->Frm_Loco, w->Frm_Desvios, w->Frm_MandarOrden})
        QCOMPARE(frame->isEnabled(), panelsOpen);
    QVERIFY(!w->Frm_S88->isEnabled());
    QCOMPARE(w->Lbl_PushGO->isVisible(), !panelsOpen);
}

void TestPower::lampClickDoesNothing()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    // The lamps' top strips lie outside their labels' boxes.
    for (Shape *lamp : {w->Sh_Go, w->Sh_Stop}) {
        const QPoint strip = lamp->mapTo(w, QPoint(lamp->width() / 2, 1));
        QTest::mouseClick(w, Qt::LeftButton, {}, strip);
    }
    QCOMPARE(panel.received(), QByteArray());
    QCOMPARE(w->Sh_Go->fillColor(), Main::kGoDark);
    QCOMPARE(w->Sh_Stop->fillColor(), Main::kStopDark);
    QVERIFY(!w->Frm_Loco->isEnabled());
}

void TestPower::buttonsSendTheirCommand_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("list locomotives") << "Pb_Locos_List"
                                      << "" << QByteArray("queryObjects(10, addr, name)");
    QTest::newRow("list accessories") << "Pb_Switch_List"
                                      << "" << QByteArray("queryObjects(11, addr, name1)");
    QTest::newRow("submit typed command") << "Pb_Command_Line"
                                          << "get(1, status)" << QByteArray("get(1, status)");
    QTest::newRow("submit keeps blanks") << "Pb_Command_Line"
                                         << " set(1, go) " << QByteArray(" set(1, go) ");
    QTest::newRow("submit latin-1") << "Pb_Command_Line"
                                    << QString::fromUtf8("se\xc3\xb1"
                                                         "al")
                                    << QByteArray("se\xf1"
                                                  "al");
}

void TestPower::buttonsSendTheirCommand()
{
    QFETCH(QString, button);
    QFETCH(QString, commandLine);
    QFETCH(QByteArray, wire);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    // Typed where the keyboard can type it, pasted otherwise.
    if (commandLine.toLatin1() != commandLine.toUtf8())
        w->Txt_CommandLine->setText(commandLine);
    else if (!commandLine.isEmpty())
        PanelFixture::typeInto(w->Txt_CommandLine, commandLine);
    PanelFixture::click(w->findChild<QPushButton *>(button));
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
}

void TestPower::submitSendsAgainAndKeepsField()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    const QByteArray hint("Escribir la linea de instrucciones aqui");
    PanelFixture::click(w->Pb_Command_Line);
    QCOMPARE(panel.receiveAtLeast(hint.size()), hint);
    PanelFixture::click(w->Pb_Command_Line);
    QCOMPARE(panel.receiveAtLeast(2 * hint.size()), hint + hint);
    QCOMPARE(w->Txt_CommandLine->text(), QString::fromLatin1(hint));

    // An empty field hands an empty command to the link: nothing on the
    // wire, and no complaint since the station is connected.
    panel.clearReceived();
    PanelFixture::typeInto(w->Txt_CommandLine, QString());
    w->Txt_Out->setPlainText(QStringLiteral("before"));
    PanelFixture::click(w->Pb_Command_Line);
    QCOMPARE(panel.received(), QByteArray());
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("before"));
}

void TestPower::quickCommandsArriveBackToBack()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::click(w->Lbl_Stop);
    PanelFixture::click(w->Lbl_Go);
    PanelFixture::click(w->Pb_Locos_List);
    const QByteArray wire("set(1, stop)set(1, go)queryObjects(10, addr, name)");
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
}

void TestPower::outputBeforeAnyData()
{
    PanelFixture panel;
    Main *w = panel.window();
    QCOMPARE(w->strData(), QString());
    QCOMPARE(w->property("strData").toString(), QString());
    QVERIFY(w->Txt_Out->toPlainText().startsWith(QStringLiteral("La Central Station dice ...")));
    QVERIFY(panel.connectToStation());
    QCOMPARE(w->strData(), QString());
}

void TestPower::replyInTwoChunksShowsTheSecond()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    panel.reply("<REPLY queryObjects(10, addr, name)>\n1000 addr[3]");
    QTRY_COMPARE(w->strData(), QStringLiteral("<REPLY queryObjects(10, addr, name)>\n1000 addr[3]"));
    panel.reply(" name[\"Tank engine\"]\n<END 0 (OK)>\n");
    QTRY_COMPARE(w->strData(), QStringLiteral(" name[\"Tank engine\"]\n<END 0 (OK)>\n"));
    QCOMPARE(w->Txt_Out->toPlainText(), w->strData());
    // A send leaves the last chunk where it is.
    PanelFixture::click(w->Pb_Locos_List);
    QCOMPARE(w->strData(), QStringLiteral(" name[\"Tank engine\"]\n<END 0 (OK)>\n"));
}

void TestPower::repliesShownUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("looks like markup") << QByteArray("<b>bold</b> <img src=\"x.png\"> &amp; <REPLY x>");
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    QTest::newRow("bytes 0x80 to 0xFF") << high;
    QTest::newRow("tabs and line feeds") << QByteArray("a\tb\nc\n\nd");
}

void TestPower::repliesShownUnchanged()
{
    QFETCH(QByteArray, bytes);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    panel.reply(bytes);
    const QString expected = QString::fromLatin1(bytes);
    QTRY_COMPARE(w->strData(), expected);
    QCOMPARE(shownText(w->Txt_Out), expected);
}

void TestPower::sendAfterStationClosed()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    panel.reply("last words");
    QTRY_COMPARE(w->strData(), QStringLiteral("last words"));
    panel.stationSide()->close();
    QTRY_VERIFY(!panel.link()->isConnected());
    // The window does not notice the close by itself...
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("last words"));
    QVERIFY(w->Frm_Loco->isEnabled());
    // ...the next command reports it, and nothing else changes.
    PanelFixture::click(w->Pb_Locos_List);
    QCOMPARE(w->Txt_Out->toPlainText(), PanelActions::kNotConnected);
    QCOMPARE(w->strData(), QStringLiteral("last words"));
    QVERIFY(w->Frm_Loco->isEnabled());
    QCOMPARE(w->Sh_Go->fillColor(), Main::kGoLit);
}

void TestPower::sendWhenNeverConnected()
{
    PanelFixture panel;
    Main *w = panel.window();
    // The operating panels open only after "Go"; here they are opened
    // directly to reach a send with no connection.
    w->showPowerOn();
    PanelFixture::click(w->Pb_Command_Line);
    QCOMPARE(w->Txt_Out->toPlainText(), PanelActions::kNotConnected);
    QCOMPARE(w->strData(), QString());
    QCOMPARE(panel.linkSocket()->state(), QAbstractSocket::UnconnectedState);
}

QTEST_MAIN(TestPower)
#include "tst_power.moc"
