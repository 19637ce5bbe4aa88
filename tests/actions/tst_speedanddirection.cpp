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
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "arrivalclock.h"
#include "link/stationlink.h"
#include "window/clicklabel.h"
#include "panelfixture.h"
#include "window/main.h"

namespace {

// Every set-speed command the station received, as the list of speeds.
QList<int> speedsIn(const QByteArray &wire, const QByteArray &loco)
{
    QList<int> speeds;
    const QByteArray head = "set(" + loco + ", speed[";
    qsizetype at = 0;
    while ((at = wire.indexOf(head, at)) >= 0) {
        at += head.size();
        const qsizetype end = wire.indexOf("])", at);
        speeds << wire.mid(at, end - at).toInt();
    }
    return speeds;
}

QRect sliderPart(QSlider *slider, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.subControls = part;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
}

QPoint handleCentre(QSlider *slider)
{
    return sliderPart(slider, QStyle::SC_SliderHandle).center();
}

void sendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestSpeedAndDirection : public QObject
{
    Q_OBJECT

private slots:
    void speedByKeyboard();
    void speedByDrag();
    void toggleDirection_data();
    void toggleDirection();
    void toggleReadsTheChunkBeforeIt();
    void toggleCommandsStandApart();
};

void TestSpeedAndDirection::speedByKeyboard()
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
    QTest::keyClick(w->Slider_Loco, Qt::Key_Home);
    expected << 0;
    QTRY_COMPARE(speedsIn(panel.received(), "1000"), expected);
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 0"));
}

void TestSpeedAndDirection::speedByDrag()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    QSlider *slider = w->Slider_Loco;
    const QPoint start = handleCentre(slider);
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
    // Move the handle one step at a time, as far as 10.
    const int span = slider->width();
    for (int x = start.x() + 1; slider->value() < 10 && x < span; ++x)
        sendMouse(slider, QEvent::MouseMove, QPoint(x, start.y()), Qt::LeftButton);
    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(slider->sliderPosition(), start.y()), Qt::NoButton);
    QCOMPARE(slider->value(), 10);
    QByteArray expected;
    for (int speed = 1; speed <= 10; ++speed)
        expected += "set(1000, speed[" + QByteArray::number(speed) + "])";
    QCOMPARE(panel.receiveAtLeast(expected.size()), expected);
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
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
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
    QCOMPARE(panel.receiveAtLeast(31), QByteArray("get(1000, dir)set(1000, dir[0])"));
    QTRY_COMPARE(w->strData(), QStringLiteral("1000 dir[0]"));
}

void TestSpeedAndDirection::toggleCommandsStandApart()
{
    // The station notes when each command arrived. Two commands that the
    // kernel merged into one packet carry one time and tell nothing, so the
    // toggle is tried until a pair arrives apart.
    const QByteArray ask("get(1000, dir)"), set("set(1000, dir[1])");
    constexpr int kTries = 20;
    QList<qsizetype> sizes{10};
    for (int i = 0; i < kTries; ++i)
        sizes << ask.size() << set.size();
    TestKit::ArrivalClock station(sizes);
    PanelFixture panel(station.port());
    Main *w = panel.window();
    w->Txt_IP->setText(QStringLiteral("127.0.0.1"));
    PanelFixture::click(w->Pb_Connect);
    QTRY_VERIFY(!panel.link()->isAttemptRunning());
    QVERIFY(panel.link()->isConnected());
    PanelFixture::click(w->Lbl_Go);
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    w->Pb_Loco_CambioDireccion->setEnabled(true);

    qint64 gapNs = 0;
    for (int i = 0; i < kTries && gapNs == 0; ++i) {
        PanelFixture::click(w->Pb_Loco_CambioDireccion);
        QTRY_COMPARE(station.pieces().size(), 3 + 2 * i);
        const auto pieces = station.pieces();
        QCOMPARE(pieces.at(1 + 2 * i).bytes, ask);
        QCOMPARE(pieces.at(2 + 2 * i).bytes, set);
        gapNs = pieces.at(2 + 2 * i).arrivedNs - pieces.at(1 + 2 * i).arrivedNs;
    }
    qInfo("the set-direction command arrived %.3f ms after the question", double(gapNs) / 1e6);
    QVERIFY2(gapNs != 0, "every pair arrived in one packet");
    QVERIFY(gapNs >= 9'000'000);
}

QTEST_MAIN(TestSpeedAndDirection)
#include "tst_speedanddirection.moc"
