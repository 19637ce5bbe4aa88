// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A locomotive's speed by the slider, and the direction toggle behind its
// disabled button: what it reads, what it sends and the pause between.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "connectpanel.h"
#include "link/stationlink.h"
#include "window/clicklabel.h"
#include "panelfixture.h"
#include "recordingstation.h"
#include "sliderkit.h"
#include "window/main.h"

class TestSpeedAndDirection : public QObject
{
    Q_OBJECT

private slots:
    void speedByKeysAndWheel();
    void speedByDrag();
    void toggleDirection_data();
    void toggleDirection();
    void toggleReadsTheChunkBeforeIt();
    void toggleCommandsStandApart();
};

void TestSpeedAndDirection::speedByKeysAndWheel()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    w->Slider_Loco->setFocus();
    QList<int> expected;
    for (int i = 1; i <= 127; ++i) {
        QTest::keyClick(w->Slider_Loco, Qt::Key_Right);
        expected << i;
    }
    QTest::keyClick(w->Slider_Loco, Qt::Key_Right); // already at the top: no change, no command
    for (int i = 126; i >= 0; --i) {
        QTest::keyClick(w->Slider_Loco, Qt::Key_Left);
        expected << i;
    }
    QTest::keyClick(w->Slider_Loco, Qt::Key_PageUp);
    expected << 5;
    QTest::keyClick(w->Slider_Loco, Qt::Key_End);
    expected << 127;
    QTest::keyClick(w->Slider_Loco, Qt::Key_PageDown);
    expected << 122;
    // A notch of the wheel sends the speed it moves the slider to.
    const QPoint centre = w->Slider_Loco->rect().center();
    QWheelEvent notch(centre, w->Slider_Loco->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->Slider_Loco, &notch);
    QVERIFY(w->Slider_Loco->value() != 122);
    expected << w->Slider_Loco->value();
    QTest::keyClick(w->Slider_Loco, Qt::Key_Home);
    expected << 0;
    QByteArray wire;
    for (int speed : expected)
        wire += "set(1000, speed[" + QByteArray::number(speed) + "])";
    QCOMPARE(panel.receive(wire), wire);
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 0"));
}

void TestSpeedAndDirection::speedByDrag()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    QSlider *slider = w->Slider_Loco;
    TestKit::dragSlider(slider, {10});
    QCOMPARE(slider->value(), 10);
    QByteArray expected;
    for (int speed = 1; speed <= 10; ++speed)
        expected += "set(1000, speed[" + QByteArray::number(speed) + "])";
    QCOMPARE(panel.receive(expected), expected);
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 10"));
}

void TestSpeedAndDirection::toggleDirection_data()
{
    QTest::addColumn<QByteArray>("lastChunk");
    QTest::addColumn<QByteArray>("wire");

    // How the direction is read from the chunk is the reply reader's own
    // table; here, each of its three outcomes as the station receives it.
    const QByteArray ask("get(1000, dir)");
    QTest::newRow("reported backward") << QByteArray("<REPLY get(1000, dir)>\n1000 dir[1]\n<END 0 (OK)>\n")
                                       << ask + "set(1000, dir[0])";
    QTest::newRow("no direction in chunk") << QByteArray("<END 0 (OK)>\n") << ask + "set(1000, dir[1])";
    QTest::newRow("past 16 bits sends no direction") << QByteArray("dir[40000]") << ask;
}

void TestSpeedAndDirection::toggleDirection()
{
    QFETCH(QByteArray, lastChunk);
    QFETCH(QByteArray, wire);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    panel.reply(lastChunk);
    QTRY_COMPARE(w->strData(), QString::fromLatin1(lastChunk));
    w->Pb_Loco_CambioDireccion->setEnabled(true);
    PanelFixture::click(w->Pb_Loco_CambioDireccion);
    // Once a later click's command is in, all that the toggle sent is in too.
    PanelFixture::click(w->Pb_Locos_List);
    const QByteArray marker("queryObjects(10, addr, name)");
    QCOMPARE(panel.receive(wire + marker), wire + marker);
}

void TestSpeedAndDirection::toggleReadsTheChunkBeforeIt()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    panel.reply("1000 dir[1]");
    QTRY_COMPARE(w->strData(), QStringLiteral("1000 dir[1]"));
    // A newer answer is already on its way but not yet handled when the
    // toggle runs; the pause dispatches nothing, so the toggle still goes
    // by the older chunk.
    panel.reply("1000 dir[0]");
    w->Pb_Loco_CambioDireccion->setEnabled(true);
    w->Pb_Loco_CambioDireccion->click();
    QCOMPARE(panel.receive("get(1000, dir)set(1000, dir[0])"), QByteArray("get(1000, dir)set(1000, dir[0])"));
    QTRY_COMPARE(w->strData(), QStringLiteral("1000 dir[0]"));
}

void TestSpeedAndDirection::toggleCommandsStandApart()
{
    // The station notes when each command arrived. Two commands that the
    // kernel merged into one packet carry one time and tell nothing, so the
    // toggle is tried until a pair arrives apart.
    const QByteArray ask("get(1000, dir)"), set("set(1000, dir[1])");
    constexpr int kTries = 20;
    TestKit::RecordingStation station;
    PanelFixture panel(station.port());
    Main *w = panel.window();
    QVERIFY(TestKit::connectPanel(*w));
    PanelFixture::click(w->Lbl_Go);
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    w->Pb_Loco_CambioDireccion->setEnabled(true);

    qint64 gapNs = 0;
    QByteArray expected = "set(1, go)";
    for (int i = 0; i < kTries && gapNs == 0; ++i) {
        const qint64 askAt = expected.size(), setAt = askAt + ask.size();
        expected += ask + set;
        PanelFixture::click(w->Pb_Loco_CambioDireccion);
        QTRY_COMPARE(station.receivedCount(0), qint64(expected.size()));
        gapNs = station.packetNs(0, setAt) - station.packetNs(0, askAt);
    }
    QCOMPARE(station.take(0), expected);
    qInfo("the set-direction command arrived %.3f ms after the question", double(gapNs) / 1e6);
    QVERIFY2(gapNs != 0, "every pair arrived in one packet");
    QVERIFY(gapNs >= 9'000'000);
}

QTEST_MAIN(TestSpeedAndDirection)
#include "tst_speedanddirection.moc"
