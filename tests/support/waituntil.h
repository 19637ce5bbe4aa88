// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace TestKit {

// Runs the event loop until `condition` holds or `timeoutMs` has passed;
// returns whether it held. The only way tests wait for something to happen.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000);

} // namespace TestKit
