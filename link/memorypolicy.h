// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the panel's process gives back the memory that long replies used.
//
// A reading pass of a long reply takes its bytes through buffers of up to a
// few MiB. glibc keeps what they free for the next pass: once the first such
// buffer is freed it raises its thresholds to that size and keeps up to
// twice as much, so a flood reads into warm memory rather than into fresh
// pages at every pass (fixing the threshold at 64 KiB instead made a 64 MiB
// flood take twice as long, for the bare reader as for the panel). Kept for
// good, that memory made the panel's resident size climb by 2 to 4 MiB over
// the first minutes of a soak, a step at each reply larger than those
// before. Handed back once the long replies stop, it serves floods and
// leaves the panel as small as it is between them.

class StationLink;

namespace MemoryPolicy {

// Hands back what the C library keeps of freed memory once `link` has read
// no full chunk for half a second. With glibc and the Windows C runtime;
// elsewhere it does nothing.
void handBackAfterLongReplies(StationLink &link);

} // namespace MemoryPolicy
