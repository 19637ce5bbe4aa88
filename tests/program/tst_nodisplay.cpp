// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel started where no display can be opened: one line on the error
// output saying which display, by the variable that names it, and how to
// run it without one, and exit status 1, where Qt alone would abort. Where
// the platform fails for another reason, Qt's own words and exit status 1.
// Where the display opens, what Qt says while opening it still shows.

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "childprogram.h"
#include "waituntil.h"

using namespace Qt::StringLiterals;

class TestNoDisplay : public QObject
{
    Q_OBJECT

private slots:
    void saysSoAndEnds_data();
    void saysSoAndEnds();
    void passesOnWhyThePlatformFailed();
    void passesOnWhatQtSaysWhileOpening();

private:
    // Runs the panel with these variables; its exit status.
    int runPanel(const QStringList &settings);

    QTemporaryDir m_runtime;
    std::unique_ptr<TestKit::ChildProgram> m_panel;
};

void TestNoDisplay::saysSoAndEnds_data()
{
    // Variables set for the panel, as NAME=value; the rest of the display's
    // are unset.
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QByteArray>("line");

    const QByteArray hint = "; without a display, run it as: xvfb-run -a model-railway-panel\n";
    QTest::newRow("neither DISPLAY nor WAYLAND_DISPLAY")
            << QStringList()
            << "model-railway-panel: cannot open a display, neither DISPLAY nor WAYLAND_DISPLAY is set" + hint;
    // A display number no X server takes.
    QTest::newRow("DISPLAY names no server")
            << QStringList{"DISPLAY=:65000"}
            << "model-railway-panel: cannot open the display \":65000\" named by DISPLAY" + hint;
    QTest::newRow("only WAYLAND_DISPLAY, no compositor")
            << QStringList{"WAYLAND_DISPLAY=wayland-none"}
            << "model-railway-panel: cannot open the display \"wayland-none\" named by WAYLAND_DISPLAY" + hint;
    QTest::newRow("X asked for, only WAYLAND_DISPLAY")
            << QStringList{"WAYLAND_DISPLAY=wayland-none", "QT_QPA_PLATFORM=xcb"}
            << "model-railway-panel: cannot open a display, DISPLAY is not set" + hint;
}

void TestNoDisplay::saysSoAndEnds()
{
    QFETCH(QStringList, settings);
    QFETCH(QByteArray, line);

    QCOMPARE(runPanel(settings), 1);
    QCOMPARE(m_panel->errors(), line);
}

// With a display there to open, a platform that cannot be had is Qt's to
// explain.
void TestNoDisplay::passesOnWhyThePlatformFailed()
{
    TestKit::ChildProgram xvfb(QStandardPaths::findExecutable(u"Xvfb"_s),
                               {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
    xvfb.waitForPort();
    QVERIFY2(!xvfb.firstLine().isEmpty(), xvfb.errors().constData());

    QCOMPARE(runPanel({"DISPLAY=:" + QString::fromLatin1(xvfb.firstLine()), u"QT_QPA_PLATFORM=nosuch"_s}), 1);
    QVERIFY2(m_panel->errors().startsWith("qt.qpa.plugin: Could not find the Qt platform plugin \"nosuch\""),
             m_panel->errors().constData());
    QVERIFY(m_panel->errors().contains("This application failed to start"));
    QVERIFY(!m_panel->errors().contains("model-railway-panel:"));
    QVERIFY(xvfb.stop());
}

int TestNoDisplay::runPanel(const QStringList &settings)
{
    // Qt's own choice of platform, as on a desktop without a session.
    QProcessEnvironment environment = TestKit::environmentWithoutDisplay();
    // No compositor can be found where the test keeps nothing.
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
    for (const QString &setting : settings)
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    m_panel = std::make_unique<TestKit::ChildProgram>(QStringLiteral(PANEL_EXECUTABLE), QStringList(),
                                                      TestKit::ChildProgram::Console::Keep, environment);
    return m_panel->waitForExit();
}

void TestNoDisplay::passesOnWhatQtSaysWhileOpening()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A style that does not exist: QApplication warns of it as it starts.
    TestKit::ChildProgram panel(QStringLiteral(PANEL_EXECUTABLE), {QStringLiteral("-style"), QStringLiteral("nosuch")},
                                TestKit::ChildProgram::Console::Keep, environment);
    const QByteArray warning = "invalid style override 'nosuch'";
    TestKit::waitUntil([&] { return panel.errors().contains(warning) || !panel.running(); }, 10000);
    QVERIFY2(panel.errors().contains(warning), panel.errors().constData());
    QVERIFY(panel.running());
}

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
