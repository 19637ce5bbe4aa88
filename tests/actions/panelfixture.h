#pragma once

// The panel as a person meets it, and a station on loopback that records
// every byte the panel writes and answers with what a test tells it.

#include <QByteArray>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <optional>

class Main;
class PanelActions;
class StationLink;
class QWidget;

class PanelFixture
{
public:
    // The panel connects to the fixture's own station, or to `stationPort`
    // when one is given.
    explicit PanelFixture(std::optional<quint16> stationPort = std::nullopt);
    ~PanelFixture();

    Main *window() const { return m_window.get(); }
    StationLink *link() const { return m_link; }
    // The link's socket, found by its name.
    QTcpSocket *linkSocket() const;
    PanelActions *actions() const { return m_actions; }
    quint16 stationPort() const { return m_server.serverPort(); }

    // Types 127.0.0.1 into the address field, presses "Conectar CS" and
    // waits for the outcome. True when the panel reports the connection.
    bool connectToStation();
    // Connects and clicks "Go", so every operating panel takes input.
    bool connectAndPowerOn();

    // Everything the station has received so far (waiting `quietMs` for
    // more to come first).
    QByteArray received(int quietMs = 50);
    // Waits until the station has received at least `count` bytes.
    QByteArray receiveAtLeast(qsizetype count);
    void clearReceived();

    // The station writes `bytes` to the panel.
    void reply(const QByteArray &bytes);
    QTcpSocket *stationSide() const { return m_peer; }
    void stopListening() { m_server.close(); }

    // Replaces a field's text the way an operator does: select all, type.
    static void typeInto(QWidget *field, const QString &text);
    static void click(QWidget *widget);

private:
    std::unique_ptr<Main> m_window;
    StationLink *m_link = nullptr;
    PanelActions *m_actions = nullptr;
    QTcpServer m_server;
    QTcpSocket *m_peer = nullptr;
    QByteArray m_received;
};

// Runs `answer` on the next modal box that opens, then closes it with its
// default button. Returns whether a box was met before `timeoutMs`.
struct ModalBoxSeen
{
    bool seen = false;
    QString title;
    QString text;
    int icon = -1;
    int buttons = 0;
};
void answerNextMessageBox(ModalBoxSeen *seen);
