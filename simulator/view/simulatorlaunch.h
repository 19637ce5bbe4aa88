// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Starts the simulator as its command line asks and, with --view, opens the
// railway's window. When it cannot start, it says why in one line on the
// error output; with --view in a message box as well, since a simulator
// started from the desktop's menu has no console anyone reads.

#include "railwayview.h"
#include "simulatoroptions.h"
#include "simulatorprogram.h"

#include <memory>

class QCommandLineParser;

class SimulatorLaunch
{
public:
    // The exit status to end with at once, or -1 when the simulator serves.
    // `window` says whether the application was made for the window.
    int start(const QCommandLineParser &parser, bool window);

private:
    SimulatorOptions m_options;
    SimulatorProgram m_program;
    std::unique_ptr<RailwayView> m_view;
};
