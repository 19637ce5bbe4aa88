// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/memorypolicy.h"

// Defines __GLIBC__ where the C library is glibc, which the guards below
// need whatever the other headers bring in.
#include <cstdlib>
// Only glibc keeps the buffers long replies freed (memorypolicy.h).
#if defined(__GLIBC__)
#include <malloc.h>
#define HAND_BACK_FREED_MEMORY() malloc_trim(0)
#endif

#include <QTimer>

#include "link/stationlink.h"

namespace {
// An operator's replies are well under a chunk; a long reply's passes read
// one or more.
constexpr qint64 kLongPassBytes = StationLink::kMaxChunkBytes;
constexpr int kQuietMs = 500;
} // namespace

void MemoryPolicy::handBackAfterLongReplies(StationLink &link)
{
#ifdef HAND_BACK_FREED_MEMORY
    auto *quiet = new QTimer(&link);
    quiet->setSingleShot(true);
    quiet->setInterval(kQuietMs);
    QObject::connect(quiet, &QTimer::timeout, quiet, [] { HAND_BACK_FREED_MEMORY(); });
    QObject::connect(&link, &StationLink::dataArrived, quiet, [quiet](const QString &, qint64 byteCount) {
        if (byteCount >= kLongPassBytes)
            quiet->start();
    });
#else
    Q_UNUSED(link)
#endif
}
