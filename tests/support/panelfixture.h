// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The panel as a person meets it, wired to a recording station on loopback.
// While it lives, a message box that the test did not announce with
// expectMessageBox() is closed at once and fails the test.

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

#include "actions/panel.h"
#include "loopbackstation.h"

class QWidget;

// What a message box showed, filled in when the fixture answered it.
struct ModalBoxSeen
{
    bool seen = false;
    QString title;
    QString text;
    int icon = -1;
    int buttons = 0;
};

class PanelFixture
{
public:
    // The panel connects to the fixture's own station, or to `stationPort`
    // when one is given.
    explicit PanelFixture(std::optional<quint16> stationPort = std::nullopt);
    ~PanelFixture();
    PanelFixture(const PanelFixture &) = delete;
    PanelFixture &operator=(const PanelFixture &) = delete;

    Main *window() { return &m_panel.window(); }
    StationLink *link() { return &m_panel.link(); }
    PanelActions *actions() { return &m_panel.actions(); }
    TestKit::LoopbackStation &station() { return m_station; }
    QTcpSocket *stationSide() const { return m_station.peer(); }

    // Types 127.0.0.1 into the address field, presses "Conectar CS" and
    // waits for the outcome. True when the panel reports the connection.
    bool connectToStation();
    // Connects and clicks "Go", so every operating panel takes input.
    bool connectAndPowerOn();

    // What the station has received so far; see LoopbackStation::received().
    QByteArray received() { return m_station.received(); }
    // Waits for `expected` at the station; see LoopbackStation::waitFor().
    QByteArray receive(const QByteArray &expected) { return m_station.waitFor(expected); }
    void clearReceived() { m_station.clearReceived(); }
    void reply(const QByteArray &bytes) { m_station.reply(bytes); }

    // The next message box is expected: it is answered with its default
    // button and what it showed goes to `seen`.
    void expectMessageBox(ModalBoxSeen *seen) { m_expected = seen; }

    // A control of the window by its objectName.
    template <typename T = QWidget>
    T *control(const QString &name);

    // Replaces a field's text the way an operator does: select all, type.
    static void typeInto(QWidget *field, const QString &text);
    // Replaces a field's text the way an operator pastes it: focus (which
    // selects all), paste.
    static void pasteInto(QWidget *field, const QString &text);
    static void click(QWidget *widget);
    // What the output box holds, as a screen reader reads it.
    static QString shownText(QWidget *box);

private:
    void watchForMessageBoxes();

    // Made before the panel, which is given its port.
    TestKit::LoopbackStation m_station;
    Panel m_panel;
    QTimer m_watchdog;
    ModalBoxSeen *m_expected = nullptr;
};

#include "window/main.h"

template <typename T>
T *PanelFixture::control(const QString &name)
{
    return window()->findChild<T *>(name);
}
