// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <chrono>

namespace TestKit {

// The monotonic clock (CLOCK_MONOTONIC, the one the first-paint mark prints)
// in nanoseconds: every time the harness notes is on it.
inline qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

} // namespace TestKit
