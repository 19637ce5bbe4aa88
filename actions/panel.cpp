// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/panel.h"

#include "actions/panelactions.h"
#include "link/stationlink.h"
#include "window/main.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The link reads the station in chunks of up to 64 KiB and the window shows
// the last one as text: blocks of 64 to 128 KiB made and freed all the time.
// glibc maps such blocks on their own at first, but after the first is freed
// it raises its threshold and carves the next ones out of the heap, which
// they leave fragmented: the program's memory grew by about 2 MiB a minute
// under steady traffic while what it held stayed the same. A fixed
// threshold keeps them mapped on their own and returned when freed.
void keepLargeBlocksMapped()
{
#ifdef __GLIBC__
    static const bool once = mallopt(M_MMAP_THRESHOLD, 64 * 1024) != 0;
    Q_UNUSED(once);
#endif
}

} // namespace

std::unique_ptr<Main> createPanel(quint16 stationPort)
{
    keepLargeBlocksMapped();
    auto window = std::make_unique<Main>();
    // The window owns its link and its actions, as it owns its controls.
    auto *link = new StationLink(window.get());
    new PanelActions(window.get(), link, stationPort);
    return window;
}
