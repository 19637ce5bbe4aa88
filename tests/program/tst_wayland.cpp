// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The two programs as native Wayland clients, on a compositor of the test's
// own: each maps its window with its title and its desktop entry's name and
// stays up, and the panel, worked through its accessibility interface as a
// screen reader would, drives the simulator.

#include <QRegularExpression>
#include <QTest>

#include "childprogram.h"
#include "desktopsession.h"
#include "privatenetwork.h"
#include "simulatorprocess.h"
#include "waituntil.h"

using namespace Qt::StringLiterals;
using TestKit::ChildProgram;

namespace {

// What the program told the compositor of its window, from its own trace
// of the protocol: its title, its desktop entry, and a first picture
// attached once the compositor had configured it. The trace names an object
// "wl_surface@12" before libwayland 1.22 and "wl_surface#12" from it on.
bool mapped(const ChildProgram &program, const QString &title)
{
    const QString trace = QString::fromUtf8(program.errors());
    const QString pattern = uR"(set_title\("%1"\)[\s\S]*set_app_id\("io\.github\.modelrailway\.panel"\))"
                            uR"([\s\S]*ack_configure[\s\S]*wl_surface[@#]\d+\.attach\(wl_buffer)"_s;
    return trace.contains(QRegularExpression(pattern.arg(QRegularExpression::escape(title))));
}

// Waits for the window to be mapped; no longer once the program has ended or
// the compositor has refused a request of its.
bool waitForMapped(ChildProgram &program, const QString &title)
{
    const QRegularExpression refused(uR"(wl_display[@#]1\.error\()"_s);
    const auto over = [&] {
        return mapped(program, title) || !program.running() || QString::fromUtf8(program.errors()).contains(refused);
    };
    TestKit::waitUntil(over, 10000);
    return mapped(program, title);
}

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

public:
    explicit TestWayland(bool privateNetwork) : m_privateNetwork(privateNetwork) {}

private slots:
    void panelDrivesSimulator();

private:
    const bool m_privateNetwork;
};

void TestWayland::panelDrivesSimulator()
{
    if (!m_privateNetwork)
        QSKIP("no network namespace of its own here, and the panel's port 15471 must stay free on this machine");
    TestKit::DesktopSession desktop;
    QVERIFY2(desktop.failure().isEmpty(), qPrintable(desktop.failure()));
    QProcessEnvironment environment = desktop.environment();
    environment.insert(u"WAYLAND_DEBUG"_s, u"client"_s);

    ChildProgram simulator(TestKit::SimulatorProcess::executable(), {u"--view"_s}, ChildProgram::Console::Keep,
                           environment);
    QCOMPARE(simulator.waitForPort(), quint16(15471));
    ChildProgram panel(QStringLiteral(PANEL_EXECUTABLE), {}, ChildProgram::Console::Keep, environment);

    QVERIFY2(waitForMapped(panel, u"Central Station"_s), panel.errors().right(2000).constData());
    QVERIFY2(waitForMapped(simulator, u"Railway of the command station simulator, 127.0.0.1 port 15471"_s),
             simulator.errors().right(2000).constData());
    // Each window, as a screen reader finds it.
    QVERIFY(desktop.waitForShowing(u"Central Station"_s));
    QVERIFY(desktop.waitForShowing(u"Railway"_s));

    QVERIFY(desktop.setText(u"Direccion IP de la Central Station"_s, u"127.0.0.1"_s));
    QVERIFY(desktop.press(u"Conectar CS"_s));
    // "Go" shows once the connect wait is over.
    QVERIFY(desktop.waitForShowing(u"Go"_s));
    QVERIFY(desktop.press(u"Go"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(simulator.console().contains("> set(1, go)\n  power on\n"),
                              simulator.console().constData(), 10000);
    QVERIFY(simulator.console().contains(" connected\n"));

    QVERIFY(panel.running());
    QVERIFY(simulator.running());
    QVERIFY(panel.stop());
    QVERIFY(simulator.stop());
}

int main(int argc, char *argv[])
{
    // Before the application starts any thread.
    const bool privateNetwork = PrivateNetwork::enter();
    QCoreApplication app(argc, argv);
    TestWayland test(privateNetwork);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
