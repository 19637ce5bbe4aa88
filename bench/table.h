// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one table every bench program prints: a row per measurement, the
// program under test beside its baseline, and whether the target was met;
// and the quantiles its figures are taken from.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

// Measurement, figure under test, baseline, ratio, target, met.
using Row = QStringList;

inline QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

inline QString ratioText(double ratio)
{
    return number(ratio, 2) + u'×';
}

inline QString yesNo(bool met)
{
    return met ? QStringLiteral("yes") : QStringLiteral("NO");
}

// A figure beside its baseline's, their ratio, and whether the target was
// met ("—" when the row has no target).
inline Row ratioRow(const QString &measurement, double value, double baseline,
                    const QString &target = QStringLiteral("—"), std::optional<bool> met = std::nullopt,
                    int decimals = 1)
{
    const QString metText = met ? yesNo(*met) : QStringLiteral("—");
    return {measurement, number(value, decimals), number(baseline, decimals), ratioText(value / baseline), target,
            metText};
}

// A line of progress on stderr, under the program's name.
inline void progress(const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(what));
}

// Prints `rows` under a header naming the two columns measured, as Markdown.
inline void printTable(const std::vector<Row> &rows, const QString &measured, const QString &baseline)
{
    std::vector<Row> lines = {{QStringLiteral("Measurement"), measured, baseline, QStringLiteral("Ratio"),
                               QStringLiteral("Target"), QStringLiteral("Met?")}};
    lines.insert(lines.end(), rows.begin(), rows.end());
    std::vector<qsizetype> widths(lines.front().size(), 0);
    for (const Row &line : lines) {
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], line[qsizetype(c)].size());
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QString text = QStringLiteral("|"), rule = QStringLiteral("|");
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QString &cell = lines[i][qsizetype(c)];
            text += u' ' + (c == 0 ? cell.leftJustified(widths[c]) : cell.rightJustified(widths[c]))
                    + QStringLiteral(" |");
            rule += QString(widths[c] + 2, u'-') + u'|';
        }
        std::printf("%s\n", qPrintable(text));
        if (i == 0)
            std::printf("%s\n", qPrintable(rule));
    }
    std::fflush(stdout);
}

// The q-quantile of `samples` (0.5 = median), nearest rank.
inline double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return std::nan("");
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * double(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

// The middle sample (the lower of the two middle ones in an even count).
inline double median(const std::vector<double> &samples)
{
    return quantile(samples, 0.5);
}

// The median of the samples, with the lowest and the highest beside it.
inline QString withSpread(const std::vector<double> &samples)
{
    const auto [lowest, highest] = std::ranges::minmax(samples);
    return number(median(samples)) + QStringLiteral(" (") + number(lowest) + QChar(u'–') + number(highest) + u')';
}
