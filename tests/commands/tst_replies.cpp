// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The direction the toggle sets, read from the last chunk the station sent:
// no window, no socket.

#include <QTest>

#include "commands/replies.h"

class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void toggledDirection_data();
    void toggledDirection();
};

void TestReplies::toggledDirection_data()
{
    QTest::addColumn<QString>("lastChunk");
    QTest::addColumn<bool>("sends");
    QTest::addColumn<int>("direction");

    QTest::newRow("reports 1: sets 0") << "1000 dir[1]" << true << 0;
    QTest::newRow("reports 0 in a reply block: sets 1") << "<REPLY get(1000, dir)>\n1000 dir[0]\n<END 0 (OK)>\n"
                                                        << true << 1;
    QTest::newRow("no dir[ at all: sets 1") << "<END 0 (OK)>\n" << true << 1;
    QTest::newRow("nothing received yet: sets 1") << "" << true << 1;
    QTest::newRow("dir[ without ]: sets 1") << "1000 dir[1" << true << 1;
    QTest::newRow("] only before dir[: sets 1") << "] 1000 dir[1" << true << 1;
    QTest::newRow("marker is case-sensitive") << "1000 DIR[1]" << true << 1;
    QTest::newRow("first dir[ counts") << "1000 dir[1] 1001 dir[0]" << true << 0;
    QTest::newRow("blanks, tabs, line feeds skipped") << "dir[ \t\n1 ]" << true << 0;
    QTest::newRow("carriage return ends the number") << "dir[\r1]" << true << 1;
    QTest::newRow("word, not a number: read as 0") << "dir[forward]" << true << 1;
    QTest::newRow("digits then text") << "dir[1st]" << true << 0;
    QTest::newRow("plus sign") << "dir[+1]" << true << 0;
    QTest::newRow("minus one") << "dir[-1]" << true << 2;
    QTest::newRow("exponent") << "dir[0.1e1]" << true << 0;
    QTest::newRow("d as exponent") << "dir[1d0]" << true << 0;
    QTest::newRow("half rounds to even: 0.5 is 0") << "dir[0.5]" << true << 1;
    QTest::newRow("half rounds to even: 1.5 is 2") << "dir[1.5]" << true << -1;
    QTest::newRow("half rounds to even: 2.5 is 2") << "dir[2.5]" << true << -1;
    QTest::newRow("0.6 rounds to 1") << "dir[0.6]" << true << 0;
    QTest::newRow("largest 16-bit value") << "dir[32767]" << true << -32766;
    QTest::newRow("-32766: reverse is the largest") << "dir[-32766]" << true << 32767;
    QTest::newRow("-32767: reverse leaves 16 bits") << "dir[-32767]" << false << 0;
    QTest::newRow("-32768: reverse leaves 16 bits") << "dir[-32768]" << false << 0;
    QTest::newRow("32768 leaves 16 bits") << "dir[32768]" << false << 0;
    QTest::newRow("-32769 leaves 16 bits") << "dir[-32769]" << false << 0;
    QTest::newRow("overflows to infinity") << "dir[1e400]" << false << 0;
}

void TestReplies::toggledDirection()
{
    QFETCH(QString, lastChunk);
    QFETCH(bool, sends);
    QFETCH(int, direction);

    const std::optional<qint16> toggled = Replies::toggledDirection(lastChunk);
    QCOMPARE(toggled.has_value(), sends);
    if (sends)
        QCOMPARE(int(*toggled), direction);
}

QTEST_GUILESS_MAIN(TestReplies)
#include "tst_replies.moc"
