// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The slider as a person moves it with the mouse: where its parts stand,
// and a drag of its handle.

#include <QList>
#include <QRect>
#include <QStyle>

class QSlider;

namespace TestKit {

// Where `part` (handle, groove) of `slider` stands, in its own coordinates.
QRect sliderPart(const QSlider *slider, QStyle::SubControl part);

// Presses the handle, moves the mouse a pixel at a time until the value
// has reached each of `stops` in turn (or the mouse has left the slider
// well behind), and releases.
void dragSlider(QSlider *slider, const QList<int> &stops);

} // namespace TestKit
