// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/memorypolicy.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace MemoryPolicy {

void keepLargeBlocksMapped()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024);
#endif
}

} // namespace MemoryPolicy
