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
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

#include "actions/panel.h"
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

// Starts the simulator on a free port of 127.0.0.1 and returns that port, or 0.
quint16 startSimulator(QProcess &simulator, const QString &program)
{
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(
            program,
            {QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0")});
    static const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1 port (\\d+)"));
    QByteArray said;
    quint16 port = 0;
    QTest::qWaitFor(
            [&] {
                said += simulator.readAllStandardOutput();
                const auto match = listening.match(QString::fromLatin1(said));
                if (match.hasMatch())
                    port = match.captured(1).toUShort();
                return port != 0 || simulator.state() == QProcess::NotRunning;
            },
            kStepTimeoutMs);
    return port;
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

    QProcess simulator;
    const quint16 port = startSimulator(simulator, args[0]);
    if (port == 0)
        return failWith(QStringLiteral("the simulator %1 did not start listening").arg(args[0]));

    Panel panel(port);
    Main *window = &panel.window();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return failWith(QStringLiteral("the window was never shown"));
    if (!save(*window, args[1]))
        return failWith(QStringLiteral("cannot write %1").arg(args[1]));

    window->Txt_IP->setFocus();
    window->Txt_IP->selectAll();
    QTest::keyClicks(window->Txt_IP, QStringLiteral("127.0.0.1"));
    QTest::mouseClick(window->Pb_Connect, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return window->Txt_Out->toPlainText() == QLatin1String("CS conectada"); },
                         kStepTimeoutMs))
        return failWith(QStringLiteral("the panel did not connect: %1").arg(window->Txt_Out->toPlainText()));

    QTest::mouseClick(window->Lbl_Go, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return window->Txt_Out->toPlainText().contains(QLatin1String("<END ")); },
                         kStepTimeoutMs))
        return failWith(
                QStringLiteral("the station's answer to Go never showed: %1").arg(window->Txt_Out->toPlainText()));
    if (!save(*window, args[2]))
        return failWith(QStringLiteral("cannot write %1").arg(args[2]));

    simulator.terminate();
    simulator.waitForFinished(kStepTimeoutMs);
    return 0;
}
