// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/panelactions.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QThread>

#include <optional>

#include "commands/commandtexts.h"
#include "commands/replies.h"
#include "common/numbertext.h"
#include "link/stationlink.h"
#include "window/clicklabel.h"
#include "window/main.h"

namespace {
// The caption of the panel's message boxes.
const QString kTitle = QStringLiteral("VELT");
// The pause of the direction toggle between its question and its command.
constexpr unsigned long kTogglePauseMs = 10;
} // namespace

PanelActions::PanelActions(Main *window, StationLink *link, quint16 stationPort)
    : m_window(window), m_link(link), m_stationPort(stationPort)
{
    wireConnection();
    wirePower();
    wireLocomotive();
    wireAccessory();
    wireLists();
}

void PanelActions::wireConnection()
{
    connect(m_window->Pb_Connect, &QPushButton::clicked, this, &PanelActions::connectStation);
    connect(m_window->Pb_Disconnect, &QPushButton::clicked, this, &PanelActions::disconnectStation);
    connect(m_link, &StationLink::attemptFinished, this, &PanelActions::reportAttempt);
    connect(m_link, &StationLink::dataArrived, this, &PanelActions::showReceived);
}

void PanelActions::wirePower()
{
    connect(m_window->Lbl_Go, &ClickLabel::clicked, this, &PanelActions::powerOn);
    connect(m_window->Lbl_Stop, &ClickLabel::clicked, this, &PanelActions::powerOff);
}

void PanelActions::wireLocomotive()
{
    connect(m_window->Pb_Loco_Request, &QPushButton::clicked, this, &PanelActions::takeLocomotive);
    connect(m_window->PB_Loco_Release, &QPushButton::clicked, this, &PanelActions::releaseLocomotive);
    // Every position the operator moves the slider through sends its speed.
    connect(m_window->Slider_Loco, &QSlider::valueChanged, this, &PanelActions::setSpeed);
    connect(m_window->Pb_Loco_For, &QPushButton::clicked, this, &PanelActions::driveForward);
    connect(m_window->Pb_Loco_Back, &QPushButton::clicked, this, &PanelActions::driveBackward);
    connect(m_window->Pb_Loco_CambioDireccion, &QPushButton::clicked, this, &PanelActions::toggleDirection);
    connect(m_window->Pb_Function_On, &QPushButton::clicked, this, &PanelActions::functionOn);
    connect(m_window->Pb_Function_Off, &QPushButton::clicked, this, &PanelActions::functionOff);
}

void PanelActions::wireAccessory()
{
    connect(m_window->Pb_Switch_Connect, &QPushButton::clicked, this, &PanelActions::takeAccessory);
    connect(m_window->Pb_Switch_Disconnect, &QPushButton::clicked, this, &PanelActions::releaseAccessory);
    connect(m_window->Pb_Switch_On, &QPushButton::clicked, this, &PanelActions::accessoryOn);
    connect(m_window->Pb_Switch_Off, &QPushButton::clicked, this, &PanelActions::accessoryOff);
}

void PanelActions::wireLists()
{
    connect(m_window->Pb_Locos_List, &QPushButton::clicked, this, &PanelActions::listLocomotives);
    connect(m_window->Pb_Switch_List, &QPushButton::clicked, this, &PanelActions::listAccessories);
    connect(m_window->Pb_Command_Line, &QPushButton::clicked, this, &PanelActions::submitCommandLine);
}

bool PanelActions::send(const QString &command)
{
    if (m_link->send(command))
        return true;
    m_window->showConnectionMessage(kNotConnected);
    return false;
}

void PanelActions::connectStation()
{
    m_link->connectToStation(m_window->stationAddress(), m_stationPort);
}

void PanelActions::reportAttempt(bool connected)
{
    if (connected) {
        m_window->showConnectionMessage(kConnected);
        m_window->showConnected();
    } else {
        m_window->showConnectionMessage(kNotFound);
    }
}

void PanelActions::disconnectStation()
{
    m_link->close();
    // Closing the last window ends the application's event loop.
    m_window->close();
}

// Once per reading pass rather than per chunk: laying out 64 KiB in the
// output box costs far more than reading it, and only the end of a pass is
// ever seen there.
void PanelActions::showReceived(const QString &recentText)
{
    m_window->showReceived(recentText);
}

void PanelActions::powerOn()
{
    send(Commands::powerOn());
    m_window->showPowerOn();
}

void PanelActions::powerOff()
{
    send(Commands::powerOff());
    m_window->showPowerOff();
}

void PanelActions::refuseEmptyIdentifier(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, message, QMessageBox::Ok, m_window);
    box.exec();
}

void PanelActions::takeLocomotive()
{
    const QString locomotive = m_window->locomotiveId();
    if (locomotive.isEmpty()) {
        refuseEmptyIdentifier(QStringLiteral("Introducir Direccion Locomotora"));
        return;
    }
    send(Commands::takeLocomotive(locomotive));
}

void PanelActions::releaseLocomotive()
{
    send(Commands::releaseLocomotive(m_window->locomotiveId()));
}

void PanelActions::setSpeed()
{
    const qint32 speed = m_window->sliderValue();
    if (!send(Commands::setSpeed(m_window->locomotiveId(), speed)))
        return;
    m_window->showSpeed(NumberText::withSignPosition(m_window->sliderValue()));
}

void PanelActions::driveForward()
{
    send(Commands::driveForward(m_window->locomotiveId()));
}

void PanelActions::driveBackward()
{
    send(Commands::driveBackward(m_window->locomotiveId()));
}

void PanelActions::toggleDirection()
{
    if (!send(Commands::askDirection(m_window->locomotiveId())))
        return;
    // A plain pause that dispatches nothing: the answer to the question just
    // asked is not read here; the direction comes from the chunk before it.
    QThread::msleep(kTogglePauseMs);
    const std::optional<qint16> toggled = Replies::toggledDirection(m_window->strData());
    if (!toggled)
        return;
    send(Commands::setDirection(m_window->locomotiveId(), *toggled));
}

void PanelActions::functionOn()
{
    send(Commands::functionOn(m_window->locomotiveId(), m_window->functionNumber()));
}

void PanelActions::functionOff()
{
    send(Commands::functionOff(m_window->locomotiveId(), m_window->functionNumber()));
}

void PanelActions::takeAccessory()
{
    const QString accessory = m_window->accessoryId();
    if (accessory.isEmpty()) {
        refuseEmptyIdentifier(QStringLiteral("Introducir Direccion Desvio"));
        return;
    }
    send(Commands::takeAccessory(accessory));
}

void PanelActions::releaseAccessory()
{
    send(Commands::releaseAccessory(m_window->accessoryId()));
}

void PanelActions::accessoryOn()
{
    if (!send(Commands::accessoryOn(m_window->accessoryId())))
        return;
    m_window->showAccessoryState(QStringLiteral("1"));
}

void PanelActions::accessoryOff()
{
    if (!send(Commands::accessoryOff(m_window->accessoryId())))
        return;
    m_window->showAccessoryState(QStringLiteral("0"));
}

void PanelActions::listLocomotives()
{
    send(Commands::listLocomotives());
}

void PanelActions::listAccessories()
{
    send(Commands::listAccessories());
}

void PanelActions::submitCommandLine()
{
    send(Commands::freeCommand(m_window->commandLine()));
}
