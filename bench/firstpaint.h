// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Once `window` has finished its first paint, prints "first-paint" and the
// monotonic clock in nanoseconds on a line of its own and ends the
// application. The start-up bench reads that line; the program is otherwise
// the same.
void markFirstPaint(QWidget *window);
