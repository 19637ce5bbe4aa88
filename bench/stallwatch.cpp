// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stallwatch.h"

#include <algorithm>

StallWatch::StallWatch(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &StallWatch::tick);
}

void StallWatch::start()
{
    m_longestNs = 0;
    m_clock.start();
    m_lastNs = 0;
    m_timer.start();
}

void StallWatch::stop()
{
    tick();
    m_timer.stop();
}

void StallWatch::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longestNs = std::max(m_longestNs, now - m_lastNs);
    m_lastNs = now;
}
