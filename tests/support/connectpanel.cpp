// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "connectpanel.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "clock.h"
#include "window/main.h"

TestKit::ConnectAnswer TestKit::pressConnect(Main &window, int timeoutMs)
{
    ConnectAnswer answer;
    QEventLoop loop;
    qint64 start = 0;
    // Noted as the box changes, before the rest of the action runs.
    QObject::connect(window.Txt_Out, &QPlainTextEdit::textChanged, &loop, [&] {
        answer.ms = double(monotonicNs() - start) / 1e6;
        answer.text = window.Txt_Out->toPlainText();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    start = monotonicNs();
    QTest::mouseClick(window.Pb_Connect, Qt::LeftButton);
    if (answer.ms < 0)
        loop.exec();
    return answer;
}

bool TestKit::connectPanel(Main &window, const QString &address)
{
    if (!window.isVisible()) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
    }
    window.Txt_IP->selectAll();
    window.Txt_IP->del();
    QTest::keyClicks(window.Txt_IP, address);
    return pressConnect(window).text == QStringLiteral("CS conectada");
}
