// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Stands by while a program's application opens its display. Where the
// platform cannot be opened, Qt would abort; instead the program ends with
// exit status 1. When there is no display to connect to, it says so in one
// line on the error output, naming the variable that names the display and
// how to run it without a screen; for any other failure (a platform plugin
// missing or unknown) it passes on what Qt said. What Qt reports on the way
// is held back and passed on as usual once the display is open. The panel
// and the simulator's window share it, so that both say it alike.

#include <QByteArray>

class DisplayGuard
{
public:
    // `program` starts the line; `headless` is how to run it without a
    // display. Where only WAYLAND_DISPLAY names a display and no platform
    // is chosen, Wayland is the one tried.
    DisplayGuard(const QByteArray &program, const QByteArray &headless);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // The display is open: Qt's messages go out as usual again.
    void release();

private:
    bool m_standingBy = true;
};
