// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Connecting to the station and ending the program, as the operator does it.

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "link/stationlink.h"
#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void connectShowsPowerControls();
    void failedConnectChangesNothingElse_data();
    void failedConnectChangesNothingElse();
    void correctedAddressConnects();
    void pressWhileConnectedKeepsConnection();
    void windowAnswersDuringWait();
    void failedConnectKeepsLastChunk();
    void disconnectEndsProgram_data();
    void disconnectEndsProgram();
    void cleanup();
};

// What the connected window shows is the window's own table; here, that a
// connection brings it there and is no data from the station.
void TestConnection::connectShowsPowerControls()
{
    PanelFixture panel;
    Main *w = panel.window();
    QCOMPARE(w->strData(), QString());
    QVERIFY(panel.connectToStation());
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS conectada"));
    QCOMPARE(w->strData(), QString());
    QVERIFY(w->Lbl_Go->isVisible());
    // Connecting opens no panel: that waits for "Go".
    QVERIFY(!w->Frm_Loco->isEnabled());
    QVERIFY(panel.link()->isConnected());
}

void TestConnection::failedConnectChangesNothingElse_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("listening");

    // The kinds of failure are the link's own table; here the window's side
    // of one, with the address as typed.
    QTest::newRow("nothing listening on the port") << "127.0.0.1" << false;
}

void TestConnection::failedConnectChangesNothingElse()
{
    QFETCH(QString, host);
    QFETCH(bool, listening);
    PanelFixture panel;
    Main *w = panel.window();
    if (!listening)
        panel.station().stopListening();
    w->Txt_IP->setText(host);
    PanelFixture::click(w->Pb_Connect);
    QTRY_COMPARE_WITH_TIMEOUT(w->Txt_Out->toPlainText(), QStringLiteral("CS no encontrada"), 5000);
    QVERIFY(!panel.link()->isConnected());
    QCOMPARE(panel.station().clientCount(), 0);
    QVERIFY(w->Pb_Connect->font().bold());
    QVERIFY(!w->Pb_Disconnect->font().bold());
    QVERIFY(!w->Lbl_Go->isVisible());
    QVERIFY(!w->Lbl_PushGO->isVisible());
    QCOMPARE(w->Txt_IP->text(), host);
}

void TestConnection::correctedAddressConnects()
{
    PanelFixture panel;
    Main *w = panel.window();
    w->Txt_IP->clear();
    PanelFixture::click(w->Pb_Connect);
    QTRY_COMPARE_WITH_TIMEOUT(w->Txt_Out->toPlainText(), QStringLiteral("CS no encontrada"), 5000);
    QVERIFY(panel.connectToStation());
}

void TestConnection::pressWhileConnectedKeepsConnection()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    QTcpSocket *first = panel.stationSide();
    w->Txt_Out->setPlainText(QStringLiteral("something else"));
    PanelFixture::click(w->Pb_Connect);
    QTRY_COMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS conectada"));
    QCOMPARE(panel.stationSide(), first);
    QCOMPARE(first->state(), QAbstractSocket::ConnectedState);
    PanelFixture::click(w->Lbl_Go);
    QCOMPARE(panel.receive("set(1, go)"), QByteArray("set(1, go)"));
}

void TestConnection::windowAnswersDuringWait()
{
    PanelFixture panel;
    Main *w = panel.window();
    w->Txt_IP->setText(QStringLiteral("127.0.0.1"));
    PanelFixture::click(w->Pb_Connect);
    QVERIFY(panel.link()->isAttemptRunning());
    QTest::keyClicks(w->Txt_Out, QStringLiteral("typed"));
    QVERIFY(panel.link()->isAttemptRunning());
    QVERIFY(w->Txt_Out->toPlainText().contains(QStringLiteral("typed")));
    QTRY_COMPARE(w->Txt_Out->toPlainText(), QStringLiteral("CS conectada"));
}

void TestConnection::failedConnectKeepsLastChunk()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    panel.reply("<END 0 (OK)>\n");
    QTRY_COMPARE(w->strData(), QStringLiteral("<END 0 (OK)>\n"));
    panel.station().closeClient();
    QTRY_VERIFY(!panel.link()->isConnected());
    w->Txt_IP->clear();
    PanelFixture::click(w->Pb_Connect);
    QTRY_COMPARE_WITH_TIMEOUT(w->Txt_Out->toPlainText(), QStringLiteral("CS no encontrada"), 5000);
    QCOMPARE(w->strData(), QStringLiteral("<END 0 (OK)>\n"));
}

void TestConnection::disconnectEndsProgram_data()
{
    QTest::addColumn<bool>("connectFirst");
    QTest::newRow("never connected") << false;
    QTest::newRow("connected") << true;
}

void TestConnection::disconnectEndsProgram()
{
    QFETCH(bool, connectFirst);
    PanelFixture panel;
    Main *w = panel.window();
    if (connectFirst)
        QVERIFY(panel.connectAndPowerOn());
    // Run the application's event loop as the program does: the click must
    // end it by itself; the fallback exit code tells that it did not.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, w, [w] {
        PanelFixture::click(w->Pb_Disconnect);
        // A window still shown after the click would keep the program going.
        if (w->isVisible())
            QCoreApplication::exit(99);
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!w->isVisible());
    QCOMPARE(lastClosed.count(), 1);
    QVERIFY(!panel.link()->isConnected());
    if (connectFirst) {
        // The station sees the connection end, and no farewell command.
        QTRY_COMPARE(panel.stationSide()->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(panel.received(), QByteArray());
    }
}

void TestConnection::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty() || !QApplication::activeModalWidget());
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
