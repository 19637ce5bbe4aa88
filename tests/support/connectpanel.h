// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Connecting the panel as an operator does, through its window.

#include <QString>

class Main;

namespace TestKit {

struct ConnectAnswer
{
    QString text;
    double ms = -1;
};

// Presses "Conectar CS" and runs the event loop until the output box
// answers, or for `timeoutMs`: what the box then shows, and how long after
// the press it answered (-1 ms when it did not).
ConnectAnswer pressConnect(Main &window, int timeoutMs = 5000);

// Shows the window if it is not yet shown, types `address` into the address
// field, presses "Conectar CS" and waits for the answer; true when it is
// "CS conectada".
bool connectPanel(Main &window, const QString &address = QStringLiteral("127.0.0.1"));

} // namespace TestKit
