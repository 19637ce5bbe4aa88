#pragma once

// Every command text the panel sends. Identifiers are used exactly as typed:
// nothing is trimmed, checked, quoted or escaped, and nothing is appended.

#include <QString>
#include <QtGlobal>

namespace Commands {

QString powerOn();
QString powerOff();

QString takeLocomotive(const QString &loco);
QString releaseLocomotive(const QString &loco);
QString setSpeed(const QString &loco, qint32 speed);
QString driveForward(const QString &loco);
QString driveBackward(const QString &loco);
QString askDirection(const QString &loco);
QString setDirection(const QString &loco, qint16 direction);
QString functionOn(const QString &loco, const QString &function);
QString functionOff(const QString &loco, const QString &function);

QString takeAccessory(const QString &accessory);
QString releaseAccessory(const QString &accessory);
QString accessoryOn(const QString &accessory);
QString accessoryOff(const QString &accessory);

QString listLocomotives();
QString listAccessories();
QString freeCommand(const QString &typed);

} // namespace Commands
