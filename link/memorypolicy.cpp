// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/memorypolicy.h"

// Defines __GLIBC__ where the C library is glibc, which the tests below
// need whatever the other headers bring in.
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
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
#ifdef __GLIBC__
    auto *quiet = new QTimer(&link);
    quiet->setSingleShot(true);
    quiet->setInterval(kQuietMs);
    QObject::connect(quiet, &QTimer::timeout, quiet, [] { malloc_trim(0); });
    QObject::connect(&link, &StationLink::dataArrived, quiet, [quiet](const QString &, qint64 byteCount) {
        if (byteCount >= kLongPassBytes)
            quiet->start();
    });
#else
    Q_UNUSED(link)
#endif
}
