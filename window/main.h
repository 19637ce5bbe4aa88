// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The panel's one window: every control the operator uses, the panel states
// and the lamps. It holds no socket; the actions wire it to the station link.
//
// Every control is declared with its real type, named after its member (its
// objectName is the member's name) and placed from twips. Every label shows
// plain text, at the top left unless centred; every text field takes text of
// any length.

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "window/controlarray.h"
#include "window/frame.h"
#include "window/outputbox.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class ClickLabel;
class Shape;

class Main : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString strData READ strData WRITE setStrData)

public:
    // Lamp fill colours; the power operations compare against these exactly.
    static constexpr QRgb kGoDark = qRgb(0, 128, 0);
    static constexpr QRgb kGoLit = qRgb(0, 255, 0);
    static constexpr QRgb kStopDark = qRgb(128, 0, 0);
    static constexpr QRgb kStopLit = qRgb(255, 0, 0);

    explicit Main(QWidget *parent = nullptr);
    ~Main() override;

    // The most recent chunk received from the station.
    QString strData() const { return m_strData; }
    void setStrData(const QString &text) { m_strData = text; }

    // What the operator has typed or set, as it stands when an action reads it.
    QString stationAddress() const;
    QString locomotiveId() const;
    QString functionNumber() const;
    qint32 sliderValue() const;
    QString accessoryId() const;
    QString commandLine() const;

    // Keeps `received` as strData at once and shows it in the output box:
    // at once after a quiet moment, else at the end of the screen frame,
    // with whatever strData holds then. Laying out a long reply costs
    // milliseconds, and while the station keeps sending, every layout but
    // the frame's last would never be seen.
    void showReceived(const QString &received);
    // Shows a message about the station connection in the output box, in
    // place of any received text still waiting to be shown.
    void showConnectionMessage(const QString &message);
    void showSpeed(const QString &speed);
    void showAccessoryState(const QString &state);
    void showConnected();
    void showPowerOn();
    void showPowerOff();

    // Connection controls and output box.
    QPushButton *Pb_Connect = nullptr;
    QLineEdit *Txt_IP = nullptr;
    QPushButton *Pb_Disconnect = nullptr;
    OutputBox *Txt_Out = nullptr;

    // Bottom bar: power lamps, their clickable labels and the prompt.
    Shape *Sh_Stop = nullptr;
    ClickLabel *Lbl_Stop = nullptr;
    Frame *Frame1 = nullptr;
    QLabel *Lbl_PushGO = nullptr;
    Frame *Frame2 = nullptr;
    Shape *Sh_Go = nullptr;
    ClickLabel *Lbl_Go = nullptr;
    QPushButton *Pb_Off = nullptr;

    // "Informacion General"
    Frame *Frm_Global = nullptr;
    QPushButton *Pb_Locos_List = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Pb_Switch_List = nullptr;
    QLabel *Label10 = nullptr;

    // "Ordenes Locomotoras"
    Frame *Frm_Loco = nullptr;
    QPushButton *Pb_Loco_Request = nullptr;
    QLabel *Lbl_loco = nullptr;
    QLineEdit *Txt_Loco_Ad = nullptr;
    QPushButton *PB_Loco_Release = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *Txt_Loco_Speed = nullptr;
    QPushButton *Pb_Loco_CambioDireccion = nullptr;
    QPushButton *Pb_Loco_Back = nullptr;
    QSlider *Slider_Loco = nullptr;
    QPushButton *Pb_Loco_For = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *Pb_Function_On = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *Txt_Loco_Function = nullptr;
    QPushButton *Pb_Function_Off = nullptr;

    // "Ordenes Desvios"
    Frame *Frm_Desvios = nullptr;
    QPushButton *Pb_Switch_Connect = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Txt_Switch_Address = nullptr;
    QPushButton *Pb_Switch_Disconnect = nullptr;
    QPushButton *Pb_Switch_On = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *Txt_Switch_Status = nullptr;
    QPushButton *Pb_Switch_Off = nullptr;

    // "S88": the feedback grid, shown but never driven.
    Frame *Frm_S88 = nullptr;
    ControlArray<QLabel> Lbl_Kb;
    ControlArray<Shape> Sh_Kred;
    ControlArray<Shape> Sh_Kgreen;
    ControlArray<QLabel> Lbl_Kbred;
    ControlArray<QLabel> Lbl_Kbgreen;
    QPushButton *Pb_Test = nullptr;

    // "Mandar Orden"
    Frame *Frm_MandarOrden = nullptr;
    QLineEdit *Txt_CommandLine = nullptr;
    QPushButton *Pb_Command_Line = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createTopBar();
    void createListPanel();
    void createLocomotivePanel();
    void createAccessoryPanel();
    void createS88Panel();
    void createCommandLinePanel();
    void createBottomBar();
    void chainTabOrder();
    void setFocusSelection();
    void watchButtons();
    static void setCaption(Frame *panel, QRgb color);
    static void numberPlate(QLabel *plate);
    QList<QWidget *> powerControls() const;
    void layOutReceived();

    QString m_strData;
    QTimer m_layoutTimer;
    QElapsedTimer m_sinceLayout;
};
