// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The start-up floor's blueprint: every control of a window written down as
// plain Qt would build it (kind, name, box, text, font, colours and start-up
// state), and the window built back from that with stock Qt controls only.
// Pictures, painted shapes, network and behaviour are left out, so the floor
// costs what showing the same controls costs and nothing more.

#include <QJsonObject>

class QWidget;

QJsonObject describeControls(const QWidget *window);

// A top-level window holding stock controls as `description` says.
QWidget *buildControls(const QJsonObject &description);
