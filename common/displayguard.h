// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Stands by while a program's application opens its display. When none can
// be opened, Qt would abort; instead the program says so in one line on the
// error output, with how to run it without a screen, and ends with exit
// status 1. What Qt reports on the way is held back and passed on as usual
// once the display is open. The panel and the simulator's window share it,
// so that both say it alike.

#include <QByteArray>

class DisplayGuard
{
public:
    // `program` starts the line; `headless` is how to run it without a
    // display.
    DisplayGuard(const QByteArray &program, const QByteArray &headless);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // The display is open: Qt's messages go out as usual again.
    void release();

private:
    bool m_standingBy = true;
};
