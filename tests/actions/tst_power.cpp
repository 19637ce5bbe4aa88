// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Track power as the operator switches it: what the station receives and
// which lamp lights. Which panels open in each state is the window's own
// table.

#include <QGroupBox>
#include <QTest>

#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "window/shape.h"

class TestPower : public QObject
{
    Q_OBJECT

private slots:
    void powerClicks_data();
    void powerClicks();
};

void TestPower::powerClicks_data()
{
    // G is a click on "Go", S one on "Stop".
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QRgb>("go");
    QTest::addColumn<QRgb>("stop");

    QTest::newRow("go") << "G" << QByteArray("set(1, go)") << qRgb(0, 255, 0) << qRgb(128, 0, 0);
    QTest::newRow("go twice sends twice")
            << "GG" << QByteArray("set(1, go)set(1, go)") << qRgb(0, 255, 0) << qRgb(128, 0, 0);
    QTest::newRow("stop right after connecting")
            << "S" << QByteArray("set(1, stop)") << qRgb(0, 128, 0) << qRgb(255, 0, 0);
    QTest::newRow("go then stop") << "GS" << QByteArray("set(1, go)set(1, stop)") << qRgb(0, 128, 0) << qRgb(255, 0, 0);
    QTest::newRow("stop twice") << "SS" << QByteArray("set(1, stop)set(1, stop)") << qRgb(0, 128, 0) << qRgb(255, 0, 0);
}

void TestPower::powerClicks()
{
    QFETCH(QString, clicks);
    QFETCH(QByteArray, wire);
    QFETCH(QRgb, go);
    QFETCH(QRgb, stop);

    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectToStation());
    for (QChar c : clicks)
        PanelFixture::click(c == u'G' ? w->Lbl_Go : w->Lbl_Stop);
    QCOMPARE(panel.receive(wire), wire);
    QCOMPARE(panel.received(), wire);
    QCOMPARE(w->Sh_Go->fillColor(), go);
    QCOMPARE(w->Sh_Stop->fillColor(), stop);
    QCOMPARE(w->Frm_Loco->isEnabled(), go == qRgb(0, 255, 0));
}

QTEST_MAIN(TestPower)
#include "tst_power.moc"
