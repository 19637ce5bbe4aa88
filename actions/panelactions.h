// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every handler of the window's controls, and the one place they are wired:
// each reads its fields when it runs, builds a command and hands it to the
// station link.

#include <QObject>
#include <QString>
#include <QtGlobal>

class Main;
class StationLink;

class PanelActions : public QObject
{
    Q_OBJECT

public:
    // Texts the panel writes into the output box.
    static inline const QString kConnected = QStringLiteral("CS conectada");
    static inline const QString kNotFound = QStringLiteral("CS no encontrada");
    static inline const QString kNotConnected = QStringLiteral("CS no conectada");

    // Connects to the station at `stationPort` of the address typed.
    PanelActions(Main *window, StationLink *link, quint16 stationPort);

    // Connection.
    void connectStation();
    void disconnectStation();

    // Power.
    void powerOn();
    void powerOff();

    // Locomotive.
    void takeLocomotive();
    void releaseLocomotive();
    void setSpeed();
    void driveForward();
    void driveBackward();
    void toggleDirection();
    void functionOn();
    void functionOff();

    // Accessory.
    void takeAccessory();
    void releaseAccessory();
    void accessoryOn();
    void accessoryOff();

    // Lists and free command line.
    void listLocomotives();
    void listAccessories();
    void submitCommandLine();

    // Hands `command` to the station link. A refused write is reported in
    // the output box instead of failing silently, and false tells the
    // action to stop there: what it would show next was never sent.
    bool send(const QString &command);

private:
    void wireConnection();
    void wirePower();
    void wireLocomotive();
    void wireAccessory();
    void wireLists();

    void reportAttempt(bool connected);
    void showReceived(const QString &recentText);
    void refuseEmptyIdentifier(const QString &message);

    Main *m_window = nullptr;
    StationLink *m_link = nullptr;
    quint16 m_stationPort = 0;
};
