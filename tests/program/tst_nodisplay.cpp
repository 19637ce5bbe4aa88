// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel started where no display can be opened: one line on the error
// output saying which display and how to run it without one, and exit
// status 1, where Qt alone would abort. Where one can, what Qt says while
// opening it still shows.

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

void TestNoDisplay::saysSoAndEnds_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("DISPLAY not set") << QString()
                                     << QByteArray("model-railway-panel: cannot open a display, DISPLAY is not set; "
                                                   "without a display, run it as: xvfb-run -a model-railway-panel\n");
    // A display number no X server takes.
    QTest::newRow("DISPLAY names no server")
            << ":65000"
            << QByteArray("model-railway-panel: cannot open the display \":65000\"; "
                          "without a display, run it as: xvfb-run -a model-railway-panel\n");
}

void TestNoDisplay::saysSoAndEnds()
{
    QFETCH(QString, display);
    QFETCH(QByteArray, line);

    QProcessEnvironment environment = TestKit::environmentWithoutDisplay();
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
