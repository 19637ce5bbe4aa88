// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/memorypolicy.h"

// Defines __GLIBC__ where the C library is glibc, which the test below
// needs before any other header has brought it in.
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace MemoryPolicy {

bool keepLargeBlocksMapped()
{
#ifdef __GLIBC__
    return mallopt(M_MMAP_THRESHOLD, 64 * 1024) == 1;
#else
    return false;
#endif
}

} // namespace MemoryPolicy
