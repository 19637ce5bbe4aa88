// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/displayguard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

std::mutex heldLock;
QList<HeldMessage> heldMessages;
QtMessageHandler usualHandler = nullptr;
QByteArray noDisplayLine;

// Qt's only fatal message while the application starts is the one for a
// platform that could not be opened.
void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs(noDisplayLine.constData(), stderr);
        std::_Exit(1);
    }
    const std::lock_guard lock(heldLock);
    heldMessages.append({type, context.category, text});
}

} // namespace

DisplayGuard::DisplayGuard(const QByteArray &program, const QByteArray &headless)
{
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray which = display.isEmpty() ? "cannot open a display, DISPLAY is not set"
                                               : "cannot open the display \"" + display + '"';
    noDisplayLine = program + ": " + which + "; without a display, run it as: " + headless + '\n';
    usualHandler = qInstallMessageHandler(holdOrEnd);
}

DisplayGuard::~DisplayGuard()
{
    release();
}

void DisplayGuard::release()
{
    if (!m_standingBy)
        return;
    m_standingBy = false;
    qInstallMessageHandler(usualHandler);
    const std::lock_guard lock(heldLock);
    for (const HeldMessage &message : std::as_const(heldMessages))
        usualHandler(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    heldMessages.clear();
}
