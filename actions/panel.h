// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The panel as the program runs it: the window, the station link and the
// actions that wire them together, made and ended as one; the memory that
// long replies used is handed back once they stop.

#include <QtGlobal>

#include <memory>

#include "link/stationlink.h"

class Main;
class PanelActions;

class Panel
{
public:
    // The program always uses the station's own port; a test gives the port
    // of the station it made.
    explicit Panel(quint16 stationPort = StationLink::kStationPort);
    ~Panel();
    Panel(const Panel &) = delete;
    Panel &operator=(const Panel &) = delete;

    Main &window() { return *m_window; }
    StationLink &link() { return *m_link; }
    PanelActions &actions() { return *m_actions; }

private:
    // Made in this order and ended in the reverse one: the actions go first,
    // so nothing reaches them from a window or link that is being torn down.
    std::unique_ptr<Main> m_window;
    std::unique_ptr<StationLink> m_link;
    std::unique_ptr<PanelActions> m_actions;
};
