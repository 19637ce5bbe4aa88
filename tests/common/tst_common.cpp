// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reply extraction, lenient number reading and number formatting: the pure
// helpers shared by the actions.

#include <QTest>

#include "common/lenientnumber.h"
#include "common/mod_functions.h"
#include "common/numbertext.h"

#include <limits>

#include "numberlocale.h"

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void textBetween_data();
    void textBetween();
    void textBetweenPastSixteenBitPositions();
    void lenientRead_data();
    void lenientRead();
    void toInt16_data();
    void toInt16();
    void numberText_data();
    void numberText();
};

// Every table runs in the C locale and again in one that writes decimals
// with a comma, as an operator's may: the station's "1.5" reads alike.
void TestCommon::initTestCase_data()
{
    TestKit::addNumberLocaleRows();
}

void TestCommon::init()
{
    TestKit::enterRowsNumberLocale();
}

void TestCommon::textBetween_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("expected");

    QTest::newRow("direction one") << "1000 dir[1]"
                                   << "dir["
                                   << "]"
                                   << "1";
    QTest::newRow("reply block") << "<REPLY get(1000, dir)>\n1000 dir[0]\n<END 0 (OK)>\n"
                                 << "dir["
                                 << "]"
                                 << "0";
    QTest::newRow("no start marker") << "1000 speed[5]"
                                     << "dir["
                                     << "]"
                                     << "";
    QTest::newRow("no end marker after start") << "1000 dir[1"
                                               << "dir["
                                               << "]"
                                               << "";
    QTest::newRow("end marker only before start") << "] 1000 dir[1"
                                                  << "dir["
                                                  << "]"
                                                  << "";
    QTest::newRow("markers adjacent") << "dir[]"
                                      << "dir["
                                      << "]"
                                      << "";
    QTest::newRow("first start marker counts") << "dir[0] dir[1]"
                                               << "dir["
                                               << "]"
                                               << "0";
    QTest::newRow("empty source") << ""
                                  << "dir["
                                  << "]"
                                  << "";
    QTest::newRow("case sensitive") << "DIR[1]"
                                    << "dir["
                                    << "]"
                                    << "";
    QTest::newRow("end searched behind start only") << "a]dir[xy]"
                                                    << "dir["
                                                    << "]"
                                                    << "xy";
    QTest::newRow("overlapping end inside start") << "[[x]"
                                                  << "["
                                                  << "["
                                                  << "";
    QTest::newRow("multi-char end marker") << "set(x, dir[12])"
                                           << "dir["
                                           << "])"
                                           << "12";
    QTest::newRow("value with blanks kept") << "dir[ 1 ]"
                                            << "dir["
                                            << "]"
                                            << " 1 ";
    QTest::newRow("start at end of source") << "abcdir["
                                            << "dir["
                                            << "]"
                                            << "";
}

void TestCommon::textBetween()
{
    QFETCH(QString, source);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, expected);
    QCOMPARE(Mod_Functions::TextBetween(source, start, end), expected);
}

void TestCommon::textBetweenPastSixteenBitPositions()
{
    // Positions beyond 32,767 must neither overflow nor wrap around.
    const QString padding(40000, QLatin1Char('x'));
    QCOMPARE(Mod_Functions::TextBetween(padding + "dir[1]", "dir[", "]"), QString("1"));
    QCOMPARE(Mod_Functions::TextBetween("dir[" + padding + "]", "dir[", "]"), padding);
    QCOMPARE(Mod_Functions::TextBetween(QString(70000, 'y') + "dir[0" + padding + "]", "dir[", "]"), "0" + padding);
    QCOMPARE(Mod_Functions::TextBetween(padding + "dir[", "dir[", "]"), QString());
}

void TestCommon::lenientRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("digit") << "1" << 1.0;
    QTest::newRow("leading blank") << " 1" << 1.0;
    QTest::newRow("stops at bracket") << "1]" << 1.0;
    QTest::newRow("half") << "0.5" << 0.5;
    QTest::newRow("one and a half") << "1.5" << 1.5;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("explicit plus") << "+7" << 7.0;
    QTest::newRow("exponent") << "1e1" << 10.0;
    QTest::newRow("exponent with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("exponent sign without digits") << "3e+" << 3.0;
    QTest::newRow("d exponent") << "2d2" << 200.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("only a point") << "." << 0.0;
    QTest::newRow("only a sign") << "-" << 0.0;
    QTest::newRow("point then digits") << ".25" << 0.25;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("tab inside digits") << "1\t2" << 12.0;
    QTest::newRow("line feed inside digits") << "1\n0" << 10.0;
    QTest::newRow("blank between sign and digits") << "- 4" << -4.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("double sign") << "--1" << 0.0;
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("past sixteen bits") << "40000" << 40000.0;
}

void TestCommon::lenientRead()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LenientNumber::read(text), expected);
}

void TestCommon::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");

    QTest::newRow("zero") << 0.0 << true << 0;
    QTest::newRow("half to even zero") << 0.5 << true << 0;
    QTest::newRow("one and a half to two") << 1.5 << true << 2;
    QTest::newRow("two and a half to two") << 2.5 << true << 2;
    QTest::newRow("minus half to zero") << -0.5 << true << 0;
    QTest::newRow("minus one and a half") << -1.5 << true << -2;
    QTest::newRow("just above half") << 0.51 << true << 1;
    QTest::newRow("top of range") << 32767.0 << true << 32767;
    QTest::newRow("bottom of range") << -32768.0 << true << -32768;
    QTest::newRow("rounds into top") << 32767.4 << true << 32767;
    QTest::newRow("rounds past top") << 32767.5 << false << 0;
    QTest::newRow("past top") << 32768.0 << false << 0;
    QTest::newRow("past bottom") << -32769.0 << false << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0;
}

void TestCommon::toInt16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const std::optional<qint16> result = LenientNumber::toInt16(value);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), expected);
}

void TestCommon::numberText_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("signPositioned");

    QTest::newRow("zero") << qint64(0) << "0"
                          << " 0";
    QTest::newRow("positive") << qint64(42) << "42"
                              << " 42";
    QTest::newRow("negative") << qint64(-5) << "-5"
                              << "-5";
}

void TestCommon::numberText()
{
    QFETCH(qint64, value);
    QFETCH(QString, plain);
    QFETCH(QString, signPositioned);
    QCOMPARE(NumberText::plainDecimal(value), plain);
    QCOMPARE(NumberText::withSignPosition(value), signPositioned);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
