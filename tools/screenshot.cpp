// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the panel headless to PNG for the documentation, driven the way an
// operator drives it: as it opens, then after typing the simulator's address,
// pressing "Conectar CS" and clicking "Go", once the station's answer to the
// power-on command shows in the output box. The simulator is the real
// program, started here on a free loopback port.
//
// Given a third file, it also renders the panel and the simulator's railway
// window side by side, after a short session against a simulator's server
// run here with its window: power on, a locomotive taken and driven at speed
// 42 with a function on, an accessory taken and switched.

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTextStream>

#include <functional>

#include "actions/panel.h"
#include "connectpanel.h"
#include "link/stationlink.h"
#include "panelfixture.h"
#include "simulatorprocess.h"
#include "sliderkit.h"
#include "stationserver.h"
#include "view/railwayview.h"
#include "waituntil.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kStepTimeoutMs = 10000;

int failWith(const QString &why)
{
    QTextStream(stderr) << "window-screenshot: " << why << '\n';
    return 1;
}

bool save(Main &window, const QString &fileName)
{
    QApplication::processEvents();
    return window.grab().save(fileName);
}

// Runs one step of the operator's session and waits for the station's
// answer to it, so that each answer shows on its own in the output box.
bool step(Main &window, const QString &answered, const std::function<void()> &action)
{
    action();
    return TestKit::waitUntil([&] { return window.Txt_Out->toPlainText().contains(answered); }, kStepTimeoutMs);
}

// The session, each step through the panel's controls: power on, a
// locomotive taken and driven at speed 42 with function 3 on, an accessory
// taken and switched.
bool driveSession(Main &window)
{
    const auto typeAndClick = [&window](QLineEdit *field, const QString &text, QPushButton *button) {
        return [=] {
            PanelFixture::typeInto(field, text);
            PanelFixture::click(button);
        };
    };
    return step(window, u"<REPLY set(1, go)>"_s, [&] { QTest::mouseClick(window.Lbl_Go, Qt::LeftButton); })
            && step(window, u"<REPLY request(1000, control)>"_s,
                    typeAndClick(window.Txt_Loco_Ad, u"1000"_s, window.Pb_Loco_Request))
            && step(window, u"speed[42])>"_s, [&] { TestKit::dragSlider(window.Slider_Loco, {42}); })
            && step(window, u"func[3, 1])>"_s, typeAndClick(window.Txt_Loco_Function, u"3"_s, window.Pb_Function_On))
            && step(window, u"<REPLY request(20000, control)>"_s,
                    typeAndClick(window.Txt_Switch_Address, u"20000"_s, window.Pb_Switch_Connect))
            && step(window, u"state[1])>"_s, [&] { PanelFixture::click(window.Pb_Switch_On); });
}

int sideBySide(const QString &fileName)
{
    StationServer server;
    if (!server.listen())
        return failWith(QStringLiteral("the simulator's server did not listen: %1").arg(server.errorString()));
    RailwayView railway(server);
    railway.resize(railway.sizeHint());
    Panel panel(server.serverPort());
    Main &window = panel.window();
    railway.show();
    if (!TestKit::connectPanel(window) || !QTest::qWaitForWindowExposed(&railway))
        return failWith(QStringLiteral("the panel did not connect: %1").arg(window.Txt_Out->toPlainText()));
    if (!driveSession(window))
        return failWith(
                QStringLiteral("a step of the session was not answered: %1").arg(window.Txt_Out->toPlainText()));
    // The session's last step, shown: the accessory switched.
    const auto *accessories = static_cast<QTableView *>(TestKit::partsNamed(railway, {u"Accessories"_s}).first());
    const QModelIndex switched = accessories->model()->index(0, RailwayView::AccessoryState);
    if (!TestKit::waitUntil([&] { return switched.data() == 1; }, kStepTimeoutMs))
        return failWith(QStringLiteral("the railway was never drawn again"));

    const QPixmap left = window.grab();
    const QPixmap right = railway.grab();
    const qreal ratio = left.devicePixelRatio();
    const int gap = 16;
    QImage both(QSize(left.width() + right.width() + gap * ratio, qMax(left.height(), right.height())),
                QImage::Format_RGB32);
    both.setDevicePixelRatio(ratio);
    both.fill(window.palette().color(QPalette::Window).darker(115));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(QPointF(left.width() / ratio + gap, 0), right);
    painter.end();
    return both.save(fileName) ? 0 : failWith(QStringLiteral("cannot write %1").arg(fileName));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3 && args.size() != 4) {
        QTextStream(stderr) << "usage: window-screenshot SIMULATOR START.png POWERED.png [SIDE-BY-SIDE.png]\n";
        return 2;
    }

    TestKit::SimulatorProcess simulator({}, TestKit::ChildProgram::Console::Drop, args[0]);
    if (simulator.port() == 0)
        return failWith(QStringLiteral("the simulator %1 did not start listening: %2")
                                .arg(args[0], QString::fromLocal8Bit(simulator.errors())));

    Panel panel(simulator.port());
    Main *window = &panel.window();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return failWith(QStringLiteral("the window was never shown"));
    if (!save(*window, args[1]))
        return failWith(QStringLiteral("cannot write %1").arg(args[1]));

    window->Txt_IP->setFocus();
    if (!TestKit::connectPanel(*window))
        return failWith(QStringLiteral("the panel did not connect: %1").arg(window->Txt_Out->toPlainText()));

    QTest::mouseClick(window->Lbl_Go, Qt::LeftButton);
    if (!TestKit::waitUntil([&] { return window->Txt_Out->toPlainText().contains(QLatin1String("<END ")); },
                            kStepTimeoutMs))
        return failWith(
                QStringLiteral("the station's answer to Go never showed: %1").arg(window->Txt_Out->toPlainText()));
    if (!save(*window, args[2]))
        return failWith(QStringLiteral("cannot write %1").arg(args[2]));
    if (!simulator.stop(kStepTimeoutMs))
        return failWith(QStringLiteral("the simulator did not end"));
    return args.size() == 4 ? sideBySide(args[3]) : 0;
}
