// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Looking at a window as it is drawn: where a control should stand, the
// text it shows, a state to bring it to, whether its caption fits, and a
// window's parts found by the names a screen reader reads.

#include <QRect>
#include <QList>
#include <QString>
#include <QStringList>

class Main;
class QWidget;

namespace TestKit {

// Twips to pixels at 15 twips a pixel, worked out independently of the
// program's own helper.
QRect pixels(int left, int top, int width, int height);

// The text a control shows: caption, field text, panel title or output.
QString textOf(const QWidget *control);

// Brings `window` one step on: "connected", "on" (Go) or "off" (Stop).
// False for any other word.
bool bringTo(Main *window, const QString &step);

// Why the caption or text of `control` does not fit its box at the
// current scale; empty when it does, or when it shows no text.
QString captionClipping(QWidget *control);

// The widgets inside `root` that a screen reader reads as `names`, in their
// order; null for a name that none has.
QList<QWidget *> partsNamed(const QWidget &root, const QStringList &names);

} // namespace TestKit
