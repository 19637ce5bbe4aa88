// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every command text the panel sends. Identifiers are used exactly as typed:
// nothing is trimmed, checked, quoted or escaped, and nothing is appended.

#include <QString>
#include <QtGlobal>

namespace Commands {

QString powerOn();
QString powerOff();

QString takeLocomotive(const QString &locomotive);
QString releaseLocomotive(const QString &locomotive);
QString setSpeed(const QString &locomotive, qint32 speed);
QString driveForward(const QString &locomotive);
QString driveBackward(const QString &locomotive);
QString askDirection(const QString &locomotive);
QString setDirection(const QString &locomotive, qint16 direction);
QString functionOn(const QString &locomotive, const QString &function);
QString functionOff(const QString &locomotive, const QString &function);

QString takeAccessory(const QString &accessory);
QString releaseAccessory(const QString &accessory);
QString accessoryOn(const QString &accessory);
QString accessoryOff(const QString &accessory);

QString listLocomotives();
QString listAccessories();
QString freeCommand(const QString &typed);

} // namespace Commands
