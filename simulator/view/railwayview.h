// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulator's own window: a live picture of the railway the server
// holds. The track power as a lamp; each locomotive with its name, address,
// speed, direction, functions and controller; each accessory with its name,
// address, state and controller; the connected clients. It only watches:
// told by the server that something changed, it reads the station's state
// at most once a screen frame, so however fast commands come, redrawing
// costs no more than a frame's worth of work.

#include <QStandardItemModel>
#include <QTimer>
#include <QWidget>

class PowerLamp;
class QTableView;
class StationServer;

class RailwayView : public QWidget
{
    Q_OBJECT

public:
    enum LocomotiveColumn { LocoId, LocoName, LocoAddress, LocoSpeed, LocoDirection, LocoFunctions, LocoController };
    enum AccessoryColumn { AccessoryId, AccessoryName, AccessoryAddress, AccessoryState, AccessoryController };
    enum ClientColumn { ClientPeer, ClientHolds };

    explicit RailwayView(const StationServer &server, QWidget *parent = nullptr);

private:
    QTableView *addTable(QStandardItemModel &model, const QStringList &headers, const QString &name);
    void setUpLocomotiveTable();
    void setUpAccessoryTable();
    void setUpClientTable();
    void layOut();
    void refreshSoon();
    void refresh();
    void showLocomotives();
    void showAccessories();
    void showClients();
    QString controllerName(int client) const;

    const StationServer &m_server;
    PowerLamp *m_power = nullptr;
    QStandardItemModel m_locomotives;
    QStandardItemModel m_accessories;
    QStandardItemModel m_clients;
    QTableView *m_locomotiveTable = nullptr;
    QTableView *m_accessoryTable = nullptr;
    QTableView *m_clientTable = nullptr;
    QTimer m_refreshTimer;
};
