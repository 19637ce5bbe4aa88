// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the process holds large blocks of memory: set once at start-up by every
// program that must keep the panel's memory flat over a long run.

namespace MemoryPolicy {

// The link reads the station in chunks of up to 64 KiB and the window shows
// the last 64 KiB of a pass as text: blocks of 64 to 128 KiB made and freed
// all the time.
// glibc maps such blocks on their own at first, but after the first is freed
// it raises its threshold and carves the next ones out of the heap, which
// they leave fragmented: the program's memory grew by about 2 MiB a minute
// under steady traffic while what it held stayed the same. A fixed
// threshold keeps them mapped on their own and returned when freed.
// False where the setting cannot be made (a C library other than glibc).
bool keepLargeBlocksMapped();

} // namespace MemoryPolicy
