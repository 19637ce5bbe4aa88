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
//
// The panel's other platform keeps no such buffers: the Windows heap gives
// a block of about a MiB or more pages of its own and returns them to the
// system the moment the block is freed. Whatever else that heap keeps was
// never measured (the only one that runs here is Wine's, which is its
// own), so the panel leaves it alone.

class StationLink;

namespace MemoryPolicy {

// Hands back what the C library keeps of freed memory once `link` has read
// no full chunk for half a second. With glibc; elsewhere it does nothing.
void handBackAfterLongReplies(StationLink &link);

} // namespace MemoryPolicy
