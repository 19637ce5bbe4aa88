// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberlocale.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTemporaryDir>

#include <clocale>

namespace {

// The C library's name of it: Windows' runtime names its locales by
// language and country, and has them all.
#ifdef _WIN32
constexpr char kDecimalComma[] = "Spanish_Spain.1252";
#else
constexpr char kDecimalComma[] = "es_ES.UTF-8";
#endif

bool enter(const char *name)
{
    if (!std::setlocale(LC_ALL, name))
        return false;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    return true;
}

// Makes the locale into a folder that lives as long as the process and
// points LOCPATH at it; empty when that worked.
QString makeDecimalComma()
{
    static QTemporaryDir folder;
    const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (!folder.isValid())
        return QStringLiteral("no folder to make %1 into: %2").arg(kDecimalComma, folder.errorString());
    if (localedef.isEmpty())
        return QStringLiteral("no localedef (Debian's libc-bin) to make %1 with").arg(kDecimalComma);
    QProcess make;
    make.setProcessChannelMode(QProcess::MergedChannels);
    // -c writes the locale despite warnings about its sources.
    make.start(localedef,
               {QStringLiteral("-c"), QStringLiteral("-i"), QStringLiteral("es_ES"), QStringLiteral("-f"),
                QStringLiteral("UTF-8"), folder.filePath(QString::fromLatin1(kDecimalComma))});
    if (!make.waitForFinished(60000))
        return QStringLiteral("localedef did not finish: %1").arg(make.errorString());
    qputenv("LOCPATH", QFile::encodeName(folder.path()));
    if (enter(kDecimalComma))
        return {};
    return QStringLiteral("localedef made no %1 (Debian's locales holds its sources): %2")
            .arg(kDecimalComma, QString::fromLocal8Bit(make.readAll()).trimmed());
}

} // namespace

QString TestKit::useNumberLocale(NumberLocale locale)
{
    if (locale == NumberLocale::C) {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
        return {};
    }
    if (enter(kDecimalComma))
        return {};
    return makeDecimalComma();
}

void TestKit::addNumberLocaleRows()
{
    QTest::addColumn<bool>("decimalComma");
    QTest::newRow("C locale") << false;
    QTest::newRow("decimal-comma locale") << true;
}

void TestKit::enterRowsNumberLocale()
{
    QFETCH_GLOBAL(bool, decimalComma);
    const QString failure = useNumberLocale(decimalComma ? NumberLocale::DecimalComma : NumberLocale::C);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(std::localeconv()->decimal_point, decimalComma ? "," : ".");
}
