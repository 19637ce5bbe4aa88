// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel started where no display can be opened: one line on the error
// output saying which display and how to run it without one, and exit
// status 1, where Qt alone would abort.

#include <QFile>
#include <QTest>

#include "childprogram.h"

class TestNoDisplay : public QObject
{
    Q_OBJECT

private slots:
    void saysSoAndEnds_data();
    void saysSoAndEnds();
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

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
