// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "table.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString ratioText(double ratio)
{
    return number(ratio, 2) + u'×';
}

QString yesNo(bool met)
{
    return met ? QStringLiteral("yes") : QStringLiteral("NO");
}

void printTable(const std::vector<Row> &rows, const QString &measured, const QString &baseline)
{
    const QStringList header = {u"Measurement"_s, measured, baseline, u"Ratio"_s, u"Target"_s, u"Met?"_s};
    std::vector<QStringList> lines = {header};
    for (const Row &row : rows)
        lines.push_back({row.measurement, row.panel, row.baseline, row.ratio, row.target, row.met});
    std::vector<qsizetype> widths(header.size(), 0);
    for (const QStringList &line : lines)
        for (qsizetype c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    auto print = [&](const QStringList &line) {
        QString text = u"|"_s;
        for (qsizetype c = 0; c < line.size(); ++c)
            text += u' ' + (c == 0 ? line[c].leftJustified(widths[c]) : line[c].rightJustified(widths[c])) + u" |"_s;
        std::printf("%s\n", qPrintable(text));
    };
    print(lines.front());
    QString rule = u"|"_s;
    for (qsizetype width : widths)
        rule += QString(width + 2, u'-') + u'|';
    std::printf("%s\n", qPrintable(rule));
    for (std::size_t i = 1; i < lines.size(); ++i)
        print(lines[i]);
    std::fflush(stdout);
}
