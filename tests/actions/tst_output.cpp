// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the output box and strData show of the station's replies and of the
// panel's own messages.

#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTest>

#include "bytes.h"
#include "link/stationlink.h"
#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "window/shape.h"

class TestOutput : public QObject
{
    Q_OBJECT

private slots:
    void outputBeforeAnyData();
    void replyInTwoChunksShowsTheSecond();
    void repliesShownUnchanged_data();
    void repliesShownUnchanged();
    void largeBurstReadInChunksOf64KiB();
    void sendAfterStationClosed();
    void sendWhenNeverConnected();
};

void TestOutput::outputBeforeAnyData()
{
    PanelFixture panel;
    Main *w = panel.window();
    QCOMPARE(w->strData(), QString());
    QVERIFY(w->Txt_Out->toPlainText().startsWith(QStringLiteral("La Central Station dice ...")));
    QVERIFY(panel.connectToStation());
    QCOMPARE(w->strData(), QString());
}

void TestOutput::replyInTwoChunksShowsTheSecond()
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

void TestOutput::repliesShownUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("looks like markup") << QByteArray("<b>bold</b> <img src=\"x.png\"> &amp; <REPLY x>");
    QTest::newRow("bytes 0x80 to 0xFF") << TestKit::byteRange(0x80, 0xFF);
    QTest::newRow("tabs and line feeds") << QByteArray("a\tb\nc\n\nd");
}

void TestOutput::repliesShownUnchanged()
{
    QFETCH(QByteArray, bytes);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    panel.reply(bytes);
    const QString expected = QString::fromLatin1(bytes);
    QTRY_COMPARE(w->strData(), expected);
    QCOMPARE(PanelFixture::shownText(w->Txt_Out), expected);
}

void TestOutput::largeBurstReadInChunksOf64KiB()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    // The whole burst is in the panel's socket before its event loop runs
    // again, so its first read pass could take all of it at once.
    const QByteArray burst = TestKit::randomBytes(4 * 65536 + 99, 12);
    QTcpSocket *station = panel.stationSide();
    station->write(burst);
    while (station->bytesToWrite() > 0 && station->waitForBytesWritten(200)) {}
    qint64 total = 0;
    qsizetype largest = 0;
    QObject receiver;
    connect(panel.link(), &StationLink::dataArrived, &receiver, [&](const QString &latest, qint64 byteCount) {
        total += byteCount;
        largest = qMax(largest, latest.size());
        QVERIFY(w->strData().size() <= 65536);
    });
    QTRY_COMPARE_WITH_TIMEOUT(total, qint64(burst.size()), 10000);
    QVERIFY2(largest <= 65536, qPrintable(QString::number(largest)));
    // Where the passes fell depends on the kernel; the box shows the end of
    // the last one.
    QVERIFY(!w->strData().isEmpty());
    QVERIFY(burst.endsWith(w->strData().toLatin1()));
}

void TestOutput::sendAfterStationClosed()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    panel.reply("last words");
    QTRY_COMPARE(w->strData(), QStringLiteral("last words"));
    panel.station().closeClient();
    QTRY_VERIFY(!panel.link()->isConnected());
    // The window does not notice the close by itself...
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("last words"));
    QVERIFY(w->Frm_Loco->isEnabled());
    // ...the next command reports it, and nothing else changes.
    PanelFixture::click(w->Pb_Locos_List);
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS no conectada"));
    QCOMPARE(w->strData(), QStringLiteral("last words"));
    QVERIFY(w->Frm_Loco->isEnabled());
    QCOMPARE(w->Sh_Go->fillColor(), qRgb(0, 255, 0));
}

void TestOutput::sendWhenNeverConnected()
{
    PanelFixture panel;
    Main *w = panel.window();
    // The operating panels open only after "Go"; here they are opened
    // directly to reach a send with no connection.
    w->showPowerOn();
    PanelFixture::click(w->Pb_Command_Line);
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS no conectada"));
    QCOMPARE(w->strData(), QString());
    QCOMPARE(panel.station().clientCount(), 0);
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
