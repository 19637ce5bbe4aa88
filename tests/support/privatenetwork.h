// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Moves the test process into a network namespace of its own, holding only
// a loopback interface, before any thread starts. Host-name lookups that
// would otherwise go to the machine's name server then fail at once inside
// the process, so every byte a test provokes stays on this machine.

namespace PrivateNetwork {

// True when the process now runs in its own namespace with loopback up.
bool enter();

} // namespace PrivateNetwork
