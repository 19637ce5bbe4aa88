// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "railwayview.h"

#include "powerlamp.h"
#include "railwaydelegate.h"
#include "stationserver.h"

#include "common/screenframe.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

// Sets what a cell shows; an unchanged value is not set again, so nothing
// is redrawn for it.
void setCell(QStandardItemModel &model, int row, int column, const QVariant &text, const QVariant &bits = {})
{
    QStandardItem *item = model.item(row, column);
    if (!item) {
        item = new QStandardItem;
        model.setItem(row, column, item);
    }
    item->setData(text, Qt::DisplayRole);
    if (bits.isValid())
        item->setData(bits, RailwayDelegate::kBitsRole);
}

QString functionList(quint32 functions)
{
    QStringList on;
    for (const int function : StationChange::functionNumbers(functions))
        on.append(QString::number(function));
    return on.isEmpty() ? u"none"_s : on.join(u", "_s);
}

} // namespace

RailwayView::RailwayView(const StationServer &server, QWidget *parent)
    : QWidget(parent), m_server(server), m_power(new PowerLamp)
{
    setWindowTitle(u"Railway of the command station simulator, %1 port %2"_s.arg(server.serverAddress().toString())
                           .arg(server.serverPort()));
    setAccessibleName(u"Railway"_s);
    setUpLocomotiveTable();
    setUpAccessoryTable();
    setUpClientTable();
    layOut();

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kScreenFrameMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &RailwayView::refresh);
    connect(&server, &StationServer::clientConnected, this, &RailwayView::refreshSoon);
    connect(&server, &StationServer::clientLeft, this, &RailwayView::refreshSoon);
    connect(&server, &StationServer::stationChanged, this, [this](const QString &, const StationChange &told) {
        if (told.kind != StationChange::Kind::Refused)
            refreshSoon();
    });
    refresh();
}

QTableView *RailwayView::addTable(QStandardItemModel &model, const QStringList &headers, const QString &name)
{
    model.setHorizontalHeaderLabels(headers);
    auto *table = new QTableView;
    table->setModel(&model);
    table->setAccessibleName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table; the arrow keys move from row to row.
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void RailwayView::setUpLocomotiveTable()
{
    m_locomotiveTable =
            addTable(m_locomotives,
                     {u"ID"_s, u"Name"_s, u"Address"_s, u"Speed"_s, u"Direction"_s, u"Functions"_s, u"Controlled by"_s},
                     u"Locomotives"_s);
    m_locomotiveTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_locomotiveTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    const std::pair<int, RailwayDelegate::Picture> pictures[] = {
            {LocoSpeed, RailwayDelegate::Picture::SpeedBar},
            {LocoDirection, RailwayDelegate::Picture::Arrow},
            {LocoFunctions, RailwayDelegate::Picture::FunctionMarks},
    };
    for (const auto &[column, picture] : pictures)
        m_locomotiveTable->setItemDelegateForColumn(column, new RailwayDelegate(picture, m_locomotiveTable));
}

void RailwayView::setUpAccessoryTable()
{
    m_accessoryTable = addTable(m_accessories, {u"ID"_s, u"Name"_s, u"Address"_s, u"State"_s, u"Controlled by"_s},
                                u"Accessories"_s);
    m_accessoryTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_accessoryTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_accessoryTable->setItemDelegateForColumn(AccessoryState,
                                               new RailwayDelegate(RailwayDelegate::Picture::Lamp, m_accessoryTable));
}

// Rows of one line each: a crowd of clients costs no measuring of rows.
void RailwayView::setUpClientTable()
{
    m_clientTable = addTable(m_clients, {u"Client"_s, u"Controls"_s}, u"Clients"_s);
}

// The power on top, the locomotives across, accessories and clients side by
// side below; every part grows with the window.
void RailwayView::layOut()
{
    auto *grid = new QGridLayout(this);
    const auto group = [](const QString &title, QWidget *table) {
        auto *box = new QGroupBox(title);
        (new QGridLayout(box))->addWidget(table);
        return box;
    };
    grid->addWidget(m_power, 0, 0, 1, 2);
    grid->addWidget(group(u"Locomotives"_s, m_locomotiveTable), 1, 0, 1, 2);
    grid->addWidget(group(u"Accessories"_s, m_accessoryTable), 2, 0);
    grid->addWidget(group(u"Clients"_s, m_clientTable), 2, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(2, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    setTabOrder(m_power, m_locomotiveTable);
    setTabOrder(m_locomotiveTable, m_accessoryTable);
    setTabOrder(m_accessoryTable, m_clientTable);
}

void RailwayView::refreshSoon()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void RailwayView::refresh()
{
    m_power->setOn(m_server.station().powerOn());
    showLocomotives();
    showAccessories();
    showClients();
}

void RailwayView::showLocomotives()
{
    const auto &locomotives = m_server.station().locomotives();
    m_locomotives.setRowCount(int(locomotives.size()));
    int row = 0;
    for (auto loco = locomotives.begin(); loco != locomotives.end(); ++loco, ++row) {
        setCell(m_locomotives, row, LocoId, loco.key());
        setCell(m_locomotives, row, LocoName, QString::fromLatin1(loco->name));
        setCell(m_locomotives, row, LocoAddress, loco->addr);
        setCell(m_locomotives, row, LocoSpeed, loco->speed);
        setCell(m_locomotives, row, LocoDirection, loco->dir == 0 ? u"forward"_s : u"backward"_s, loco->dir);
        setCell(m_locomotives, row, LocoFunctions, functionList(loco->functions), loco->functions);
        setCell(m_locomotives, row, LocoController, controllerName(loco->controller));
    }
}

void RailwayView::showAccessories()
{
    const auto &accessories = m_server.station().accessories();
    m_accessories.setRowCount(int(accessories.size()));
    int row = 0;
    for (auto accessory = accessories.begin(); accessory != accessories.end(); ++accessory, ++row) {
        setCell(m_accessories, row, AccessoryId, accessory.key());
        setCell(m_accessories, row, AccessoryName, QString::fromLatin1(accessory->name1));
        setCell(m_accessories, row, AccessoryAddress, accessory->addr);
        setCell(m_accessories, row, AccessoryState, accessory->state, accessory->state);
        setCell(m_accessories, row, AccessoryController, controllerName(accessory->controller));
    }
}

void RailwayView::showClients()
{
    QMap<int, QStringList> holds;
    const Station &station = m_server.station();
    for (auto loco = station.locomotives().begin(); loco != station.locomotives().end(); ++loco)
        holds[loco->controller].append(StationChange::noun({true, loco.key()}));
    for (auto accessory = station.accessories().begin(); accessory != station.accessories().end(); ++accessory)
        holds[accessory->controller].append(StationChange::noun({false, accessory.key()}));

    const QMap<int, QString> &clients = m_server.clients();
    m_clients.setRowCount(int(clients.size()));
    int row = 0;
    for (auto client = clients.begin(); client != clients.end(); ++client, ++row) {
        setCell(m_clients, row, ClientPeer, *client);
        const QStringList held = holds.value(client.key());
        setCell(m_clients, row, ClientHolds, held.isEmpty() ? u"nothing"_s : held.join(u", "_s));
    }
}

QString RailwayView::controllerName(int client) const
{
    return client == 0 ? u"nobody"_s : m_server.clients().value(client);
}
