// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The q-quantile of `samples` (0.5 = median), nearest rank.
inline double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return std::nan("");
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * double(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

inline double median(const std::vector<double> &samples)
{
    if (samples.size() % 2 == 0 && !samples.empty()) {
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        return (sorted[sorted.size() / 2 - 1] + sorted[sorted.size() / 2]) / 2;
    }
    return quantile(samples, 0.5);
}
