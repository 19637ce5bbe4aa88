// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The window is laid out in twips, so every position in the code can be read
// against the layout tables; 15 twips make one pixel at 96 dots per inch.

#include <QRect>

// Twips to pixels, rounded to the nearest pixel (halves up).
constexpr int twips(int value)
{
    return (2 * value + 15) / 30;
}

// A control's box in twips: left and top within its container, then size.
struct Twips
{
    int left;
    int top;
    int width;
    int height;

    constexpr QRect toPixels() const { return QRect(twips(left), twips(top), twips(width), twips(height)); }
};
