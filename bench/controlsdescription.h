// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The start-up floor's blueprint: every control of a window written down as
// plain Qt would build it (kind, name, box, text, font, colours and start-up
// state), for bench-controls-window to build back from stock Qt controls.
// Pictures, painted shapes, network and behaviour are left out, so the floor
// costs what showing the same controls costs and nothing more.

#include <QJsonObject>

class QWidget;

QJsonObject describeControls(const QWidget *window);
