// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <memory>

#include "link/stationlink.h"

class Main;

// The panel as the program runs it: the window with its station link and
// every action wired in. The program always uses the station's own port; a
// test gives the port of the station it made.
std::unique_ptr<Main> createPanel(quint16 stationPort = StationLink::kStationPort);
