// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one table every bench program prints: a row per measurement, the
// program under test beside its baseline, and whether the target was met;
// and the quantiles its figures are taken from.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Measurement, figure under test, baseline, ratio, target, met.
using Row = QStringList;

QString number(double value, int decimals = 1);
QString ratioText(double ratio);
QString yesNo(bool met);
// A figure beside its baseline's, their ratio, and whether the target was
// met ("—" when the row has no target).
Row ratioRow(const QString &measurement, double value, double baseline, const QString &target = QStringLiteral("—"),
             std::optional<bool> met = std::nullopt, int decimals = 1);

// Prints `rows` under a header naming the two columns measured, as Markdown.
void printTable(const std::vector<Row> &rows, const QString &measured, const QString &baseline);

// A line of progress on stderr, under the program's name.
void progress(const QString &what);

// The q-quantile of `samples` (0.5 = median), nearest rank.
double quantile(std::vector<double> samples, double q);
// The middle sample, or the mean of the two middle ones.
double median(const std::vector<double> &samples);
