// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the panel headless to PNG for the documentation, driven the way an
// operator drives it: as it opens, then after typing the simulator's address,
// pressing "Conectar CS" and clicking "Go", once the station's answer to the
// power-on command shows in the output box. The simulator is the real
// program, started here on a free loopback port.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextStream>

#include "actions/panel.h"
#include "connectpanel.h"
#include "link/stationlink.h"
#include "simulatorprocess.h"
#include "waituntil.h"
#include "window/clicklabel.h"
#include "window/main.h"

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: window-screenshot SIMULATOR START.png POWERED.png\n";
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
    return simulator.stop(kStepTimeoutMs) ? 0 : failWith(QStringLiteral("the simulator did not end"));
}
