// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel started where no display can be opened: one line on the error
// output saying which display and how to run it without one, and exit
// status 1, where Qt alone would abort. Where one can, what Qt says while
// opening it still shows.

#include <QFile>
#include <QTest>

#include "childprogram.h"
#include "waituntil.h"

class TestNoDisplay : public QObject
{
    Q_OBJECT

private slots:
    void saysSoAndEnds_data();
    void saysSoAndEnds();
    void passesOnWhatQtSaysWhileOpening();
};

namespace {

// An X display number nothing serves: no socket, no lock file.
QString freeDisplay()
{
    for (int number = 90; number < 200; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))
            && !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
    return {};
}

} // namespace

void TestNoDisplay::saysSoAndEnds_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("DISPLAY not set") << QString()
                                     << QByteArray("model-railway-panel: cannot open a display, DISPLAY is not set; "
                                                   "without a display, run it as: xvfb-run -a model-railway-panel\n");
    const QString unserved = freeDisplay();
    QTest::newRow("DISPLAY names no server") << unserved
                                             << "model-railway-panel: cannot open the display \"" + unserved.toLatin1()
                    + "\"; without a display, run it as: xvfb-run -a model-railway-panel\n";
}

void TestNoDisplay::saysSoAndEnds()
{
    QFETCH(QString, display);
    QFETCH(QByteArray, line);

    // Qt's own choice of platform, as on a desktop without a session.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);

    TestKit::ChildProgram panel(QStringLiteral(PANEL_EXECUTABLE), {}, TestKit::ChildProgram::Console::Keep,
                                environment);
    QVERIFY(panel.started());
    QCOMPARE(panel.waitForExit(), 1);
    QCOMPARE(panel.errors(), line);
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
