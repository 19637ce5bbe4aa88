// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class Main;
class StationLink;

namespace TestKit {

// Shows the window if it is not yet shown, types `address` into the address
// field as an operator does, presses "Conectar CS" and waits for the attempt
// to end; true when the panel then shows "CS conectada".
bool connectPanel(Main &window, StationLink &link, const QString &address = QStringLiteral("127.0.0.1"));

} // namespace TestKit
