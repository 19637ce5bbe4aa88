// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "table.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
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

Row ratioRow(const QString &measurement, double value, double baseline, const QString &target, std::optional<bool> met,
             int decimals)
{
    return {measurement, number(value, decimals),   number(baseline, decimals), ratioText(value / baseline),
            target,      met ? yesNo(*met) : u"—"_s};
}

void progress(const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(what));
}

void printTable(const std::vector<Row> &rows, const QString &measured, const QString &baseline)
{
    std::vector<Row> lines = {{u"Measurement"_s, measured, baseline, u"Ratio"_s, u"Target"_s, u"Met?"_s}};
    lines.insert(lines.end(), rows.begin(), rows.end());
    std::vector<qsizetype> widths(lines.front().size(), 0);
    for (const Row &line : lines) {
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], line[qsizetype(c)].size());
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QString text = u"|"_s, rule = u"|"_s;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QString &cell = lines[i][qsizetype(c)];
            text += u' ' + (c == 0 ? cell.leftJustified(widths[c]) : cell.rightJustified(widths[c])) + u" |"_s;
            rule += QString(widths[c] + 2, u'-') + u'|';
        }
        std::printf("%s\n", qPrintable(text));
        if (i == 0)
            std::printf("%s\n", qPrintable(rule));
    }
    std::fflush(stdout);
}

double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return std::nan("");
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * double(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double median(const std::vector<double> &samples)
{
    if (samples.size() % 2 != 0 || samples.empty())
        return quantile(samples, 0.5);
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    return (sorted[sorted.size() / 2 - 1] + sorted[sorted.size() / 2]) / 2;
}
