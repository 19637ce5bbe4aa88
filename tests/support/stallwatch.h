// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How long the calling thread's event loop was kept from running: the
// longest gap between the ticks of a 1 ms timer from start() to stop().
// Gaps that overlap a burst, from burstStarted() to burstEnded(), are kept
// apart; every gap over 50 ms is noted with the processor time the thread
// used in it (near the gap: the thread was busy; near 0: it was kept
// waiting by the machine).

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

namespace TestKit {

class StallWatch : public QObject
{
public:
    struct Gap
    {
        double atSeconds = 0;
        double ms = 0;
        double cpuMs = 0;
        bool withinBurst = false;
    };

    StallWatch();

    void start();
    void stop();
    void burstStarted();
    void burstEnded();

    // Outside bursts, and within them.
    double longestMs() const { return double(m_longestNs) / 1e6; }
    double longestWithinBurstsMs() const { return double(m_longestWithinNs) / 1e6; }
    double secondsSinceStart() const { return double(m_clock.nsecsElapsed()) / 1e9; }
    const std::vector<Gap> &longGaps() const { return m_longGaps; }

private:
    void tick();

    static constexpr qint64 kLongGapNs = 50'000'000;

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_lastCpuNs = 0;
    qint64 m_burstStartNs = -1;
    qint64 m_burstEndNs = -1;
    bool m_inBurst = false;
    qint64 m_longestNs = 0;
    qint64 m_longestWithinNs = 0;
    std::vector<Gap> m_longGaps;
};

} // namespace TestKit
