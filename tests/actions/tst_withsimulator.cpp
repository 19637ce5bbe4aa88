// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel driving the station simulator, as a user does with `make run`:
// connect, power, a locomotive, an accessory and the lists, reading the
// simulator's replies in the output box.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "connectpanel.h"
#include "link/stationlink.h"
#include "panelfixture.h"
#include "stationserver.h"
#include "waituntil.h"
#include "window/clicklabel.h"
#include "window/main.h"

class TestWithSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void operatorSession_data();
    void operatorSession();
    void toggleFollowsTheStationsLastAnswer();

private:
    void connectPanel();
    // Clicks `button` and waits for the reply block that ends the answer.
    QString clickAndRead(QWidget *button);

    std::unique_ptr<StationServer> m_station;
    std::unique_ptr<PanelFixture> m_panel;
};

void TestWithSimulator::init()
{
    m_station = std::make_unique<StationServer>();
    QVERIFY(m_station->listen(QHostAddress::LocalHost, 0));
    m_panel = std::make_unique<PanelFixture>(m_station->serverPort());
}

void TestWithSimulator::cleanup()
{
    m_panel.reset();
    m_station.reset();
}

void TestWithSimulator::connectPanel()
{
    QSignalSpy connected(m_station.get(), &StationServer::clientConnected);
    QVERIFY(TestKit::connectPanel(*m_panel->window()));
    QTRY_COMPARE(connected.count(), 1);
}

QString TestWithSimulator::clickAndRead(QWidget *button)
{
    Main *w = m_panel->window();
    w->setStrData(QString());
    PanelFixture::click(button);
    TestKit::waitUntil([w] { return w->strData().contains(QStringLiteral("<END ")); });
    return w->strData();
}

void TestWithSimulator::operatorSession_data()
{
    // Steps run in order on one connection; each names the field to fill,
    // what to type, the control to use and a line the reply must hold.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("drive a locomotive") << QStringList{
            "Txt_Loco_Ad|1000|Pb_Loco_Request|<END 0 (OK)>",
            "Txt_Loco_Function|2|Pb_Function_On|<END 0 (OK)>",
            "||Pb_Loco_Back|<END 0 (OK)>",
            "||PB_Loco_Release|<END 0 (OK)>",
            "||Pb_Loco_For|<END 6 ",
    };
    QTest::newRow("switch an accessory") << QStringList{
            "Txt_Switch_Address|20000|Pb_Switch_Connect|<END 0 (OK)>",
            "||Pb_Switch_On|<END 0 (OK)>",
            "||Pb_Switch_Disconnect|<END 0 (OK)>",
            "Txt_Switch_Address|ID|Pb_Switch_Off|<END 3 ",
    };
    QTest::newRow("lists and free commands") << QStringList{
            "||Pb_Locos_List|1000 addr[3] name[\"Tank engine\"]",
            "||Pb_Switch_List|20000 addr[",
            "Txt_CommandLine|get(1000, dir)|Pb_Command_Line|1000 dir[",
            "Txt_CommandLine|hello(1)|Pb_Command_Line|<END 1 ",
    };
}

void TestWithSimulator::operatorSession()
{
    QFETCH(QStringList, steps);
    Main *w = m_panel->window();
    connectPanel();
    QCOMPARE(clickAndRead(w->Lbl_Go), QStringLiteral("<REPLY set(1, go)>\n<END 0 (OK)>\n"));
    for (const QString &step : steps) {
        const QStringList part = step.split(u'|');
        QCOMPARE(part.size(), 4);
        if (!part[0].isEmpty())
            PanelFixture::typeInto(w->findChild<QLineEdit *>(part[0]), part[1]);
        const QString reply = clickAndRead(w->findChild<QWidget *>(part[2]));
        QVERIFY2(reply.contains(part[3]), qPrintable(step + " -> " + reply));
        QTRY_COMPARE(PanelFixture::shownText(w->Txt_Out), reply);
    }
}

void TestWithSimulator::toggleFollowsTheStationsLastAnswer()
{
    Main *w = m_panel->window();
    connectPanel();
    PanelFixture::click(w->Lbl_Go);
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1001"));
    clickAndRead(w->Pb_Loco_Request);
    clickAndRead(w->Pb_Loco_Back);
    PanelFixture::typeInto(w->Txt_CommandLine, QStringLiteral("get(1001, dir)"));
    QVERIFY(clickAndRead(w->Pb_Command_Line).contains(QStringLiteral("1001 dir[1]")));

    QSignalSpy commands(m_station.get(), &StationServer::commandReceived);
    w->Pb_Loco_CambioDireccion->setEnabled(true);
    PanelFixture::click(w->Pb_Loco_CambioDireccion);
    QTRY_COMPARE(commands.count(), 2);
    QCOMPARE(commands.at(0).at(1).toByteArray(), QByteArray("get(1001, dir)"));
    QCOMPARE(commands.at(1).at(1).toByteArray(), QByteArray("set(1001, dir[0])"));

    PanelFixture::typeInto(w->Txt_CommandLine, QStringLiteral("get(1001, dir)"));
    QVERIFY(clickAndRead(w->Pb_Command_Line).contains(QStringLiteral("1001 dir[0]")));
}

QTEST_MAIN(TestWithSimulator)
#include "tst_withsimulator.moc"
