// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>

#include <limits>
#include <type_traits>

#include "artwork/pictureicon.h"
#include "common/screenframe.h"
#include "window/accessibility.h"
#include "window/clicklabel.h"
#include "window/deferredbuttonrepaint.h"
#include "window/enterpressesbutton.h"
#include "window/frame.h"
#include "window/neverselectwhenfocused.h"
#include "window/selectallonfocus.h"
#include "window/shape.h"
#include "window/twips.h"

using namespace Qt::StringLiterals;

// Passes a member together with its own name, so a control's objectName is
// always the name the code uses for it.
#define NAMED(member) member, #member

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr int kLampBorder = 3;
constexpr int kIndicatorBorder = 2;

// "MS Sans Serif" 8.25 pt. Where it is missing, fontconfig would hand out a
// face too wide for the buttons, so the program names its substitute itself.
QFont windowFont()
{
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"Liberation Sans"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QFont lampFont()
{
    QFont font;
    font.setFamilies({u"Verdana"_s, u"DejaVu Sans"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(15.75);
    font.setBold(true);
    return font;
}

void setBold(QWidget *control, bool bold)
{
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

void setTextColor(QWidget *control, QRgb color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(color));
    control->setPalette(palette);
}

void setBackground(QWidget *control, QRgb color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(color));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void centre(QLineEdit *box)
{
    box->setAlignment(Qt::AlignCenter);
}

// Labels keep their text at the top of their box, as the layout was drawn;
// a centred label is centred across.
void centre(QLabel *label)
{
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

// Shown at the size it is drawn at.
void setPicture(QPushButton *button, const QString &fileName)
{
    button->setIcon(pictureIcon(fileName));
    button->setIconSize(pictureSize(fileName));
}

// Creates `member` as a control of its own type in `parent` at `box`, named
// after it. By kind: a label shows plain text (never rich text) at its top
// left; a text field holds whatever is typed or pasted, however long.
template <typename Control, typename... Args>
void addControl(Control *&member, const char *name, QWidget *parent, Twips box, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1StringView(name));
    control->setGeometry(box.toPixels());
    if constexpr (std::is_base_of_v<QLabel, Control>) {
        control->setTextFormat(Qt::PlainText);
        control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if constexpr (std::is_base_of_v<QLineEdit, Control>)
        control->setMaxLength(std::numeric_limits<int>::max());
    member = control;
}

// An element of a control array is named "Name(index)".
template <typename Control, typename... Args>
Control *addControl(ControlArray<Control> &array, const char *name, int index, QWidget *parent, Twips box,
                    Args &&...args)
{
    Control *control = nullptr;
    const QByteArray elementName = QByteArray(name) + '(' + QByteArray::number(index) + ')';
    addControl(control, elementName.constData(), parent, box, std::forward<Args>(args)...);
    array.insert(index, control);
    return control;
}

} // namespace

Main::Main(QWidget *parent) : QWidget(parent)
{
    Accessibility::registerControlKinds();
    setObjectName(u"Main"_s);
    setWindowTitle(u"Central Station"_s);
    setWindowIcon(programIcon());
    setFont(windowFont());
    resize(twips(12030), twips(6735));

    createTopBar();
    createListPanel();
    createLocomotivePanel();
    createAccessoryPanel();
    createS88Panel();
    createCommandLinePanel();
    createBottomBar();
    chainTabOrder();
    setFocusSelection();
    watchButtons();
    Accessibility::describe(*this);
    m_layoutTimer.setSingleShot(true);
    m_layoutTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_layoutTimer, &QTimer::timeout, this, &Main::layOutReceived);

    // The operating panels open only once the track power is on.
    for (Frame *panel : {Frm_Global, Frm_Loco, Frm_Desvios, Frm_S88, Frm_MandarOrden})
        panel->setEnabled(false);
    Pb_Connect->setFocus();
}

Main::~Main() = default;

void Main::createTopBar()
{
    addControl(NAMED(Pb_Connect), this, {120, 120, 1695, 375}, u"Conectar CS"_s);
    addControl(NAMED(Txt_IP), this, {1987, 120, 2295, 375}, u"192.168.1.3"_s);
    addControl(NAMED(Pb_Disconnect), this, {4455, 120, 1695, 375}, u"Desconectar CS"_s);
    addControl(NAMED(Txt_Out), this, {120, 600, 6030, 1095}, u"La Central Station dice ...\r\n"_s);

    setBold(Pb_Connect, true);
    centre(Txt_IP);
    Txt_Out->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Txt_Out->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Txt_Out->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Txt_Out->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Txt_Out->setTabChangesFocus(true);
}

void Main::createListPanel()
{
    addControl(NAMED(Frm_Global), this, {6225, 120, 5700, 1575}, u"Informacion General"_s);
    addControl(NAMED(Pb_Locos_List), Frm_Global, {120, 450, 2085, 375}, u"Locomotoras en el circuito"_s);
    addControl(NAMED(Label2), Frm_Global, {2280, 450, 2985, 405},
               u"Nos transmite la lista de las locomotoras presentes en la Base de Datos de la CS."_s);
    addControl(NAMED(Pb_Switch_List), Frm_Global, {120, 1005, 2085, 375}, u"Desvios en el circuito"_s);
    addControl(NAMED(Label10), Frm_Global, {2280, 1005, 3375, 420},
               u"Nos transmite la lista de  en la Base de Datos de la CS."_s);

    setCaption(Frm_Global, kRed);
    Label2->setWordWrap(true);
    Label10->setWordWrap(true);
}

// Rows: buttons top-aligned at the row's top, text boxes and labels lower so
// their text lines up with the buttons' captions.
void Main::createLocomotivePanel()
{
    addControl(NAMED(Frm_Loco), this, {75, 1830, 11865, 1950}, u"Ordenes Locomotoras"_s);
    QWidget *panel = Frm_Loco;
    addControl(NAMED(Pb_Loco_Request), panel, {135, 240, 1395, 375}, u"Pedir Locomotora"_s);
    addControl(NAMED(Lbl_loco), panel, {2295, 315, 750, 255}, u"Direccion"_s);
    addControl(NAMED(Txt_Loco_Ad), panel, {3030, 285, 735, 285}, u"ID"_s);
    addControl(NAMED(PB_Loco_Release), panel, {4530, 240, 1545, 375}, u"Soltar Locomotora"_s);
    addControl(NAMED(Label8), panel, {7275, 315, 1215, 255}, u"Velocidad actual"_s);
    addControl(NAMED(Txt_Loco_Speed), panel, {8580, 285, 735, 285}, u"Speed"_s);
    addControl(NAMED(Pb_Loco_CambioDireccion), panel, {10005, 240, 1650, 330}, u"Cambio de sentido"_s);

    addControl(NAMED(Pb_Loco_Back), panel, {135, 690, 2175, 630}, QString());
    addControl(NAMED(Slider_Loco), panel, {2460, 660, 6975, 495}, Qt::Horizontal);
    addControl(NAMED(Pb_Loco_For), panel, {9480, 690, 2175, 630}, QString());

    addControl(NAMED(Label3), panel, {2430, 1155, 465, 300}, u"0"_s);
    addControl(NAMED(Label4), panel, {5010, 1155, 465, 300}, u"50"_s);
    addControl(NAMED(Label5), panel, {7605, 1155, 465, 300}, u"100"_s);
    addControl(NAMED(Label6), panel, {9000, 1155, 465, 300}, u"127"_s);

    addControl(NAMED(Pb_Function_On), panel, {3615, 1470, 1320, 315}, u"Activada"_s);
    addControl(NAMED(Label7), panel, {5130, 1500, 585, 255}, u"Funcion"_s);
    addControl(NAMED(Txt_Loco_Function), panel, {5760, 1500, 735, 285}, u"Number"_s);
    addControl(NAMED(Pb_Function_Off), panel, {6660, 1470, 1320, 315}, u"Desactivada"_s);

    setCaption(Frm_Loco, kRed);
    for (QLineEdit *box : {Txt_Loco_Ad, Txt_Loco_Speed, Txt_Loco_Function})
        centre(box);
    Txt_Loco_Speed->setReadOnly(true);
    Pb_Loco_CambioDireccion->setEnabled(false);
    Pb_Loco_CambioDireccion->setToolTip(u"Desactivado"_s);
    setPicture(Pb_Loco_Back, u":/artwork/loco-backward.svg"_s);
    setPicture(Pb_Loco_For, u":/artwork/loco-forward.svg"_s);
    Slider_Loco->setRange(0, 127);
    Slider_Loco->setSingleStep(1);
    Slider_Loco->setPageStep(5);
    Slider_Loco->setTickInterval(10);
    Slider_Loco->setTickPosition(QSlider::TicksBelow);
    Slider_Loco->setValue(0);
    for (QLabel *scale : {Label3, Label4, Label5, Label6})
        centre(scale);
}

void Main::createAccessoryPanel()
{
    addControl(NAMED(Frm_Desvios), this, {75, 3915, 4650, 1230}, u"Ordenes Desvios"_s);
    QWidget *panel = Frm_Desvios;
    addControl(NAMED(Pb_Switch_Connect), panel, {75, 240, 1395, 375}, u"Pedir Desvio"_s);
    addControl(NAMED(Label1), panel, {1545, 285, 750, 255}, u"Direccion"_s);
    addControl(NAMED(Txt_Switch_Address), panel, {2280, 285, 735, 285}, u"ID"_s);
    addControl(NAMED(Pb_Switch_Disconnect), panel, {3105, 240, 1395, 375}, u"Soltar Desvio"_s);

    addControl(NAMED(Pb_Switch_On), panel, {450, 780, 555, 315}, u"ON"_s);
    addControl(NAMED(Label9), panel, {1215, 840, 1215, 255}, u"Situacion actual"_s);
    addControl(NAMED(Txt_Switch_Status), panel, {2445, 810, 735, 285}, u"Status"_s);
    addControl(NAMED(Pb_Switch_Off), panel, {3420, 780, 555, 315}, u"OFF"_s);

    setCaption(Frm_Desvios, kRed);
    centre(Txt_Switch_Address);
    centre(Txt_Switch_Status);
}

// The feedback grid: per column a red indicator over its number plate, then a
// green indicator over a second plate, each with an empty label beside it.
void Main::createS88Panel()
{
    addControl(NAMED(Frm_S88), this, {4800, 3915, 7215, 1230}, u"S88"_s);
    QWidget *panel = Frm_S88;

    // The grid reads like its layout table.
    // clang-format off
    struct Column { int kbred, kred, kb, kbgreen, kgreenLeft, kgreenTop, kbLower; };
    static constexpr Column kColumns[8] = {
        {735, 1440, 1350, 720, 1425, 645, 1365},   {1320, 2025, 1935, 1305, 2010, 645, 1950},
        {1905, 2610, 2535, 1890, 2625, 645, 2535}, {2490, 3195, 3120, 2475, 3210, 645, 3120},
        {3075, 3780, 3705, 3060, 3795, 660, 3705}, {3660, 4365, 4290, 3645, 4365, 660, 4290},
        {4245, 4950, 4890, 4230, 4965, 645, 4875}, {4830, 5535, 5475, 4815, 5550, 660, 5460},
    };
    // clang-format on
    for (int i = 1; i <= 8; ++i) {
        const Column &c = kColumns[i - 1];
        addControl(NAMED(Lbl_Kbred), i, panel, {c.kbred, 135, 330, 240}, QString());
        addControl(NAMED(Sh_Kred), i, panel, {c.kred, 165, 285, 195}, kRed, kIndicatorBorder, kStopDark);
        numberPlate(addControl(NAMED(Lbl_Kb), i, panel, {c.kb, 390, 435, 210}, u"888"_s));
        addControl(NAMED(Sh_Kgreen), i, panel, {c.kgreenLeft, c.kgreenTop, 285, 195}, kGoLit, kIndicatorBorder,
                   kGoDark);
        addControl(NAMED(Lbl_Kbgreen), i, panel, {c.kbgreen, 840, 330, 240}, QString());
        numberPlate(addControl(NAMED(Lbl_Kb), 16 + i, panel, {c.kbLower, 885, 435, 210}, u"888"_s));
    }
    addControl(NAMED(Pb_Test), panel, {6105, 840, 945, 285}, u"Test"_s);

    setCaption(Frm_S88, kRed);
}

void Main::createCommandLinePanel()
{
    addControl(NAMED(Frm_MandarOrden), this, {75, 5250, 11820, 765}, u"Mandar Orden"_s);
    addControl(NAMED(Txt_CommandLine), Frm_MandarOrden, {135, 315, 10545, 300},
               u"Escribir la linea de instrucciones aqui"_s);
    addControl(NAMED(Pb_Command_Line), Frm_MandarOrden, {10770, 300, 975, 330}, u"Submit"_s);
}

// Later controls are drawn over earlier ones: each power label over its lamp,
// the lower rule over the bottom of the prompt.
void Main::createBottomBar()
{
    addControl(NAMED(Sh_Stop), this, {135, 6135, 2625, 495}, kStopLit, kLampBorder, kStopDark);
    addControl(NAMED(Lbl_Stop), this, {105, 6195, 2685, 405}, u"Stop"_s);
    addControl(NAMED(Frame1), this, {2865, 6120, 6285, 135}, QString());
    addControl(NAMED(Lbl_PushGO), this, {2955, 6300, 6195, 345},
               u"Central Station en estado \"STOP\" pulsar \"GO\" para arrancarla ----------->"_s);
    addControl(NAMED(Frame2), this, {2865, 6495, 6285, 135}, QString());
    addControl(NAMED(Sh_Go), this, {9255, 6135, 2625, 495}, kGoLit, kLampBorder, kGoDark);
    addControl(NAMED(Lbl_Go), this, {9240, 6180, 2685, 405}, u"Go"_s);
    // Placed below the client area: seen only in an enlarged window.
    addControl(NAMED(Pb_Off), this, {120, 10215, 855, 375}, u"STOP"_s);

    for (ClickLabel *label : {Lbl_Stop, Lbl_Go}) {
        label->setFont(lampFont());
        setTextColor(label, kWhite);
        centre(label);
    }
    setBold(Lbl_PushGO, true);
    setTextColor(Lbl_PushGO, kRed);
    setBold(Pb_Off, true);
    for (QWidget *control : powerControls())
        control->hide();
}

void Main::chainTabOrder()
{
    // Four columns, read across.
    // clang-format off
    const QList<QWidget *> order = {
        Pb_Connect,        Pb_Disconnect,        Txt_IP,           Txt_Out,
        Txt_Loco_Ad,       Pb_Loco_Request,      PB_Loco_Release,  Slider_Loco,
        Pb_Locos_List,     Txt_Loco_Function,    Pb_Function_On,   Pb_Function_Off,
        Pb_Loco_CambioDireccion, Pb_Switch_Off,  Pb_Switch_On,     Pb_Switch_Disconnect,
        Pb_Switch_Connect, Txt_Switch_Address,   Txt_Loco_Speed,   Txt_Switch_Status,
        Pb_Switch_List,    Pb_Test,              Pb_Loco_Back,     Pb_Loco_For,
        Pb_Off,            Txt_CommandLine,      Pb_Command_Line,
    };
    // clang-format on
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// Which text fields select their text when they gain the focus. The four
// that start with a hint select all of it on every focus gain, so the first
// key typed replaces the hint or the last value; the others never select on
// focus, so a key typed goes in at the cursor (Txt_Out, a multi-line box,
// does so by itself).
void Main::setFocusSelection()
{
    for (QLineEdit *hint : {Txt_CommandLine, Txt_Loco_Ad, Txt_Loco_Function, Txt_Switch_Address})
        new SelectAllWhenFocused(hint);
    for (QLineEdit *plain : {Txt_IP, Txt_Loco_Speed, Txt_Switch_Status})
        new NeverSelectWhenFocused(plain);
}

// A button's filters run last installed first: the deferred repaint holds
// back the redraw of a press by Enter as of any other press.
void Main::watchButtons()
{
    for (QPushButton *button : findChildren<QPushButton *>()) {
        new EnterPressesButton(button);
        new DeferredButtonRepaint(button);
    }
}

void Main::setCaption(Frame *panel, QRgb color)
{
    panel->setCaptionColor(QColor::fromRgb(color));
}

void Main::numberPlate(QLabel *plate)
{
    setTextColor(plate, kWhite);
    setBackground(plate, kBlack);
    plate->setAlignment(Qt::AlignCenter);
}

QList<QWidget *> Main::powerControls() const
{
    return {Lbl_Go, Sh_Go, Lbl_Stop, Sh_Stop, Lbl_PushGO};
}

QString Main::stationAddress() const
{
    return Txt_IP->text();
}

QString Main::locomotiveId() const
{
    return Txt_Loco_Ad->text();
}

QString Main::functionNumber() const
{
    return Txt_Loco_Function->text();
}

qint32 Main::sliderValue() const
{
    return Slider_Loco->value();
}

QString Main::accessoryId() const
{
    return Txt_Switch_Address->text();
}

QString Main::commandLine() const
{
    return Txt_CommandLine->text();
}

void Main::showReceived(const QString &received)
{
    m_strData = received;
    if (m_layoutTimer.isActive())
        return;
    const qint64 sinceLayout = m_sinceLayout.isValid() ? m_sinceLayout.elapsed() : kScreenFrameMs;
    if (sinceLayout >= kScreenFrameMs)
        layOutReceived();
    else
        m_layoutTimer.start(int(kScreenFrameMs - sinceLayout));
}

void Main::layOutReceived()
{
    m_sinceLayout.start();
    Txt_Out->showReceived(m_strData);
}

void Main::showConnectionMessage(const QString &message)
{
    m_layoutTimer.stop();
    Txt_Out->setPlainText(message);
}

void Main::showSpeed(const QString &speed)
{
    Txt_Loco_Speed->setText(speed);
}

void Main::showAccessoryState(const QString &state)
{
    Txt_Switch_Status->setText(state);
}

void Main::showConnected()
{
    setBold(Pb_Connect, false);
    setBold(Pb_Disconnect, true);
    for (QWidget *control : powerControls())
        control->show();
}

// A lamp is switched only from its exact dark colour; the panels follow the
// power state whatever the lamps showed.
void Main::showPowerOn()
{
    if (Sh_Go->fillColor() == kGoDark) {
        Sh_Go->setFillColor(kGoLit);
        Sh_Stop->setFillColor(kStopDark);
    }
    Frm_Global->setEnabled(true);
    Frm_Loco->setEnabled(true);
    Frm_Desvios->setEnabled(true);
    Frm_S88->setEnabled(false);
    Frm_MandarOrden->setEnabled(true);
    Lbl_PushGO->hide();
}

void Main::showPowerOff()
{
    if (Sh_Stop->fillColor() == kStopDark) {
        Sh_Stop->setFillColor(kStopLit);
        Sh_Go->setFillColor(kGoDark);
    }
    for (Frame *panel : {Frm_Global, Frm_Loco, Frm_Desvios, Frm_S88, Frm_MandarOrden})
        panel->setEnabled(false);
    Lbl_PushGO->show();
}

// With no window manager nobody hands the window the keyboard; it takes it
// itself when it appears.
void Main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        activateWindow();
}
