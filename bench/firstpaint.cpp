// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaintMark : public QObject
{
public:
    using QObject::QObject;

protected:
    // The window's paint event comes first in a repaint; the queued call runs
    // once the whole repaint, children and flush included, has returned.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                    this,
                    [] {
                        std::printf("first-paint %lld\n", static_cast<long long>(monotonicNanoseconds()));
                        std::fflush(stdout);
                        QCoreApplication::quit();
                    },
                    Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

qint64 monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void markFirstPaint(QWidget *window)
{
    window->installEventFilter(new FirstPaintMark(window));
}
