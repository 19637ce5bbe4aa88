// Driving a locomotive: take, release, speed, direction, functions and the
// direction toggle behind its disabled button.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "actions/panelactions.h"
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

class TestLocomotive : public QObject
{
    Q_OBJECT

private slots:
    void takeWithEmptyIdentifierRefuses();
    void commandsByButton_data();
    void commandsByButton();
    void speedByKeyboard();
    void speedByDrag();
    void speedByWheelAndTrack();
    void speedShownWithSignPosition();
    void toggleDirection_data();
    void toggleDirection();
    void toggleReadsTheChunkBeforeIt();
    void disabledToggleDoesNothing();
};

void TestLocomotive::takeWithEmptyIdentifierRefuses()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QString());
    ModalBoxSeen box;
    answerNextMessageBox(&box);
    PanelFixture::click(w->Pb_Loco_Request);
    QVERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("VELT"));
    QCOMPARE(box.text, QStringLiteral("Introducir Direccion Locomotora"));
    QCOMPARE(box.icon, int(QMessageBox::NoIcon));
    QCOMPARE(box.buttons, int(QMessageBox::Ok));
    QCOMPARE(panel.received(), QByteArray());
}

void TestLocomotive::commandsByButton_data()
{
    QTest::addColumn<QString>("loco");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("take") << "1000"
                          << ""
                          << "Pb_Loco_Request" << QByteArray("request(1000, control)");
    QTest::newRow("take hint text") << "ID"
                                    << ""
                                    << "Pb_Loco_Request" << QByteArray("request(ID, control)");
    QTest::newRow("take blanks") << "  "
                                 << ""
                                 << "Pb_Loco_Request" << QByteArray("request(  , control)");
    QTest::newRow("release") << "1000"
                             << ""
                             << "PB_Loco_Release" << QByteArray("release(1000, control)");
    QTest::newRow("release empty") << ""
                                   << ""
                                   << "PB_Loco_Release" << QByteArray("release(, control)");
    QTest::newRow("forward") << "1001"
                             << ""
                             << "Pb_Loco_For" << QByteArray("set(1001, dir[0])");
    QTest::newRow("backward") << "1001"
                              << ""
                              << "Pb_Loco_Back" << QByteArray("set(1001, dir[1])");
    QTest::newRow("function on") << "1000"
                                 << "2"
                                 << "Pb_Function_On" << QByteArray("set(1000, func[2, 1])");
    QTest::newRow("function off") << "1000"
                                  << "2"
                                  << "Pb_Function_Off" << QByteArray("set(1000, func[2, 0])");
    QTest::newRow("function at hint") << "1000"
                                      << "Number"
                                      << "Pb_Function_On" << QByteArray("set(1000, func[Number, 1])");
    QTest::newRow("identifier with ) and ,") << "1), x("
                                             << ""
                                             << "Pb_Loco_For" << QByteArray("set(1), x(, dir[0])");
}

void TestLocomotive::commandsByButton()
{
    QFETCH(QString, loco);
    QFETCH(QString, function);
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, loco);
    if (!function.isEmpty())
        PanelFixture::typeInto(w->Txt_Loco_Function, function);
    const QString speedBefore = w->Txt_Loco_Speed->text();
    PanelFixture::click(w->findChild<QPushButton *>(button));
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
    // The panel keeps no record: nothing else on it changes.
    QCOMPARE(w->Txt_Loco_Speed->text(), speedBefore);
    QCOMPARE(w->Slider_Loco->value(), 0);
}

void TestLocomotive::speedByKeyboard()
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
    QTRY_COMPARE(speedsIn(panel.received(0), "1000"), expected);
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 0"));
}

void TestLocomotive::speedByDrag()
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
    const QList<int> speeds = speedsIn(panel.receiveAtLeast(10 * 20), "1000");
    QCOMPARE(speeds, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 10"));
}

void TestLocomotive::speedByWheelAndTrack()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("7"));
    QSlider *slider = w->Slider_Loco;
    const QPoint centre = slider->rect().center();
    QWheelEvent wheel(centre, slider->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &wheel);
    const int afterWheel = slider->value();
    QVERIFY(afterWheel > 0);
    // A click on the track to the right of the handle pages up.
    const QRect groove = sliderPart(slider, QStyle::SC_SliderGroove);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(groove.right() - 3, groove.center().y()));
    QTRY_VERIFY(slider->value() > afterWheel);
    const QList<int> speeds = speedsIn(panel.received(), "7");
    QCOMPARE(speeds.size(), 2);
    QCOMPARE(speeds.first(), afterWheel);
    QCOMPARE(speeds.last(), slider->value());
    QCOMPARE(w->Txt_Loco_Speed->text(), " " + QString::number(slider->value()));
}

void TestLocomotive::speedShownWithSignPosition()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Loco_Ad, QStringLiteral("1000"));
    w->Slider_Loco->setFocus();
    for (int i = 0; i < 42; ++i)
        QTest::keyClick(w->Slider_Loco, Qt::Key_Right);
    QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 42"));
    QVERIFY(panel.receiveAtLeast(1).endsWith("set(1000, speed[42])"));
}

void TestLocomotive::toggleDirection_data()
{
    QTest::addColumn<QByteArray>("lastChunk");
    QTest::addColumn<QByteArray>("wire");

    const QByteArray ask("get(1000, dir)");
    QTest::newRow("reported backward") << QByteArray("<REPLY get(1000, dir)>\n1000 dir[1]\n<END 0 (OK)>\n")
                                       << ask + "set(1000, dir[0])";
    QTest::newRow("reported forward") << QByteArray("1000 dir[0]") << ask + "set(1000, dir[1])";
    QTest::newRow("no direction in chunk") << QByteArray("<END 0 (OK)>\n") << ask + "set(1000, dir[1])";
    QTest::newRow("value with blanks") << QByteArray("dir[ 1 ]") << ask + "set(1000, dir[0])";
    QTest::newRow("value rounds half to even") << QByteArray("dir[2.5]") << ask + "set(1000, dir[-1])";
    QTest::newRow("top of 16 bits") << QByteArray("dir[32767]") << ask + "set(1000, dir[-32766])";
    QTest::newRow("past 16 bits sends no direction") << QByteArray("dir[40000]") << ask;
    QTest::newRow("bottom of 16 bits overflows") << QByteArray("dir[-32768]") << ask;
}

void TestLocomotive::toggleDirection()
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
    QElapsedTimer timer;
    timer.start();
    PanelFixture::click(w->Pb_Loco_CambioDireccion);
    // The question and the command stand about 10 ms apart.
    QVERIFY(timer.elapsed() >= 10);
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
}

void TestLocomotive::toggleReadsTheChunkBeforeIt()
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

void TestLocomotive::disabledToggleDoesNothing()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    QVERIFY(!w->Pb_Loco_CambioDireccion->isEnabled());
    PanelFixture::click(w->Pb_Loco_CambioDireccion);
    QCOMPARE(panel.received(), QByteArray());
}

QTEST_MAIN(TestLocomotive)
#include "tst_locomotive.moc"
