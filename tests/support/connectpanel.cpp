// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "connectpanel.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "link/stationlink.h"
#include "waituntil.h"
#include "window/main.h"

bool TestKit::connectPanel(Main &window, StationLink &link, const QString &address)
{
    if (!window.isVisible()) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
    }
    window.Txt_IP->selectAll();
    window.Txt_IP->del();
    QTest::keyClicks(window.Txt_IP, address);
    QTest::mouseClick(window.Pb_Connect, Qt::LeftButton);
    waitUntil([&link] { return !link.isAttemptRunning(); });
    return window.Txt_Out->toPlainText() == QStringLiteral("CS conectada");
}
