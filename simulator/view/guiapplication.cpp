// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "guiapplication.h"

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler g_previous = nullptr;
QByteArray g_noDisplay;
QList<HeldMessage> g_held;

// While the application is made, what the platform plugins say is held back:
// it would only repeat, in Qt's words, the line the user gets.
void holdPlatformMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs(g_noDisplay.constData(), stderr);
        std::_Exit(1);
    }
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("qt.qpa."))
        g_held.append({type, category, text});
    else
        g_previous(type, context, text);
}

} // namespace

std::unique_ptr<QApplication> GuiApplication::open(int &argc, char **argv, const QString &noDisplay)
{
    g_noDisplay = noDisplay.toLocal8Bit() + '\n';
    g_previous = qInstallMessageHandler(holdPlatformMessages);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_previous);
    // The window opened after all: what was held back may matter.
    for (const HeldMessage &message : std::exchange(g_held, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        g_previous(message.type, context, message.text);
    }
    return application;
}
