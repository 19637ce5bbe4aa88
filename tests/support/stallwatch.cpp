// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stallwatch.h"

#include <algorithm>
#include <ctime>

using namespace TestKit;

namespace {

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

StallWatch::StallWatch()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &StallWatch::tick);
}

void StallWatch::start()
{
    m_longestNs = m_longestWithinNs = 0;
    m_longGaps.clear();
    m_clock.start();
    m_lastNs = 0;
    m_lastCpuNs = threadCpuNs();
    m_timer.start();
}

void StallWatch::stop()
{
    tick();
    m_timer.stop();
}

void StallWatch::burstStarted()
{
    m_burstStartNs = m_clock.nsecsElapsed();
    m_inBurst = true;
}

void StallWatch::burstEnded()
{
    m_burstEndNs = m_clock.nsecsElapsed();
    m_inBurst = false;
}

void StallWatch::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 cpuNow = threadCpuNs();
    const qint64 gap = now - m_lastNs;
    const bool withinBurst = m_inBurst || (m_burstEndNs > m_lastNs && m_burstStartNs < now);
    qint64 &longest = withinBurst ? m_longestWithinNs : m_longestNs;
    longest = std::max(longest, gap);
    if (gap > kLongGapNs)
        m_longGaps.push_back(
                {double(m_lastNs) / 1e9, double(gap) / 1e6, double(cpuNow - m_lastCpuNs) / 1e6, withinBurst});
    m_lastNs = now;
    m_lastCpuNs = cpuNow;
}
