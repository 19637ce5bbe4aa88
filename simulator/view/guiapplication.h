// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Making the application of a program that opens a window. Where Qt finds
// no display to open it on, it would end the program with a fatal message,
// a list of platform plugins and an abort; instead the user reads one line
// that says what to do, and the program ends with exit status 1.

#include <QApplication>
#include <QString>

#include <memory>

namespace GuiApplication {

std::unique_ptr<QApplication> open(int &argc, char **argv, const QString &noDisplay);

} // namespace GuiApplication
