// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A 1 ms timer in the calling thread that records the longest gap between
// two of its ticks: how long the event loop was kept from running.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class StallWatch : public QObject
{
    Q_OBJECT

public:
    explicit StallWatch(QObject *parent = nullptr);

    void start();
    void stop();
    double longestGapMs() const { return m_longestNs / 1e6; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
};
