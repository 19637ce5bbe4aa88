// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the process holds large blocks of memory: set once at start-up by every
// program that must keep the panel's memory flat over a long run.

namespace MemoryPolicy {

// Data on its way to the output box passes through blocks of tens of KiB
// made and freed all the time: the socket's buffer, the link's reads of up
// to 64 KiB, the last 64 KiB of a pass as text, the output box's text as it
// grows. glibc maps large blocks on their own at first, but after the first
// is freed it raises its threshold and carves the next ones out of the
// heap, which they leave fragmented: the program's memory grew by about
// 2 MiB a minute under steady traffic while what it held stayed the same.
// A fixed threshold keeps them mapped on their own and returned when freed.
// It is 32 KiB, not 64: the blocks under 64 KiB (a pass's last read, the
// socket buffer's smaller pieces) still came from the heap, and the text
// blocks of a long reply laid out meanwhile landed above them, so the
// space they left could never be returned: the heap held grew from 4 to
// 7 MiB over the first minutes of a soak while the heap in use stayed at
// 1.85 MiB.
void keepLargeBlocksMapped();

} // namespace MemoryPolicy
