// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A desktop of the test's own, with no screen: a Wayland compositor on its
// headless back end and a session bus that carries the accessibility trees,
// in a runtime folder of their own (mode 0700), each ended by its PID. A
// program started with environment() shows its windows there and its
// controls to a screen reader; the test then finds a control by its
// accessible name, sets its text or presses it, as a screen reader would,
// across the bus.

#include <QDBusConnection>
#include <QObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>

#include "childprogram.h"

namespace TestKit {

class DesktopSession
{
public:
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    // Empty once the compositor and the bus run; else what failed.
    QString failure() const { return m_failure; }
    // The system's environment with the display and the bus replaced.
    QProcessEnvironment environment() const;

    // Waits until a control named `name` shows in the tree of any program
    // on the bus; false at the deadline.
    bool waitForShowing(const QString &name, int timeoutMs = 10000);
    // Replace the control's text, press it: false when it is not there or
    // refuses.
    bool setText(const QString &name, const QString &text);
    bool press(const QString &name);

private:
    struct Control
    {
        QString service;
        QString path;
        bool showing = false;
    };
    Control find(const QString &name);
    Control findBelow(const QString &service, const QString &path, const QString &name, int depth);
    bool perform(const QString &name, const QString &interface, const QString &method, const QVariant &argument);

    QTemporaryDir m_runtime;
    std::unique_ptr<ChildProgram> m_compositor;
    std::unique_ptr<ChildProgram> m_bus;
    QString m_busAddress;
    QDBusConnection m_connection{QString()};
    std::unique_ptr<QObject> m_busDirectory;
    QString m_failure;
};

} // namespace TestKit
