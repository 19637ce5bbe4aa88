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

// A platform that draws on a display server: the variable that names the
// display, and what Qt's plugin says when it cannot connect to it.
struct DisplayPlatform
{
    const char *plugin;
    const char *variable;
    const char *cannotConnect;
};
constexpr DisplayPlatform kDisplayPlatforms[] = {
        {"xcb", "DISPLAY", "could not connect to display"},
        {"wayland", "WAYLAND_DISPLAY", "Failed to create wl_display"},
};

std::mutex heldLock;
QList<HeldMessage> heldMessages;
QtMessageHandler usualHandler = nullptr;
QByteArray programName;
QByteArray headlessHint;

bool heldMentions(const char *text)
{
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        if (message.text.contains(QLatin1StringView(text)))
            return true;
    }
    return false;
}

// Which display could not be opened, named by the variable Qt read; empty
// when the platform failed for another reason, which only Qt can tell.
QByteArray noDisplayReason()
{
    for (const DisplayPlatform &platform : kDisplayPlatforms) {
        if (!heldMentions(platform.cannotConnect))
            continue;
        const QByteArray display = qgetenv(platform.variable);
        if (!display.isEmpty())
            return "cannot open the display \"" + display + "\" named by " + platform.variable;
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return "cannot open a display, neither DISPLAY nor WAYLAND_DISPLAY is set";
        return QByteArray("cannot open a display, ") + platform.variable + " is not set";
    }
    return {};
}

void passOnHeld()
{
    for (const HeldMessage &message : std::as_const(heldMessages))
        usualHandler(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    heldMessages.clear();
}

// Qt's only fatal message while the application starts is the one for a
// platform that could not be opened: the program ends with status 1
// instead of aborting, saying why in one line when there is no display,
// else in Qt's own words.
void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(heldLock);
    if (type != QtFatalMsg) {
        heldMessages.append({type, context.category, text});
        return;
    }
    const QByteArray reason = noDisplayReason();
    if (reason.isEmpty()) {
        passOnHeld();
        usualHandler(QtCriticalMsg, context, text);
    } else {
        std::fputs(programName + ": " + reason + "; without a display, run it as: " + headlessHint + '\n', stderr);
    }
    std::_Exit(1);
}

} // namespace

DisplayGuard::DisplayGuard(const QByteArray &program, const QByteArray &headless)
{
    programName = program;
    headlessHint = headless;
    // Where the only display named is a Wayland one, that is the one to try:
    // Qt would otherwise try X alone, which cannot work without DISPLAY.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "wayland");
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
    passOnHeld();
}
