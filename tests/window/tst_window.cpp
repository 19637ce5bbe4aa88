// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as the operator meets it: its controls at start-up, where they
// stand, what the keyboard and mouse reach, and the three panel states.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <memory>

#include "window/clicklabel.h"
#include "window/frame.h"
#include "window/main.h"
#include "window/shape.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;

namespace {

const QStringList kPanels = {u"Frm_Global"_s, u"Frm_Loco"_s, u"Frm_Desvios"_s, u"Frm_S88"_s, u"Frm_MandarOrden"_s};
const QStringList kPowerControls = {u"Lbl_Go"_s, u"Sh_Go"_s, u"Lbl_Stop"_s, u"Sh_Stop"_s, u"Lbl_PushGO"_s};

using TestKit::pixels;
using TestKit::textOf;

bool isReddish(QRgb pixel)
{
    return qRed(pixel) > 160 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

struct Box
{
    const char *name;
    const char *container;
    int left, top, width, height;
};

// Every control's box in twips, as the window was drawn.
const Box kBoxes[] = {
        {"Pb_Connect", "Main", 120, 120, 1695, 375},
        {"Txt_IP", "Main", 1987, 120, 2295, 375},
        {"Pb_Disconnect", "Main", 4455, 120, 1695, 375},
        {"Txt_Out", "Main", 120, 600, 6030, 1095},
        {"Sh_Stop", "Main", 135, 6135, 2625, 495},
        {"Lbl_Stop", "Main", 105, 6195, 2685, 405},
        {"Frame1", "Main", 2865, 6120, 6285, 135},
        {"Lbl_PushGO", "Main", 2955, 6300, 6195, 345},
        {"Frame2", "Main", 2865, 6495, 6285, 135},
        {"Sh_Go", "Main", 9255, 6135, 2625, 495},
        {"Lbl_Go", "Main", 9240, 6180, 2685, 405},
        {"Pb_Off", "Main", 120, 10215, 855, 375},
        {"Frm_Global", "Main", 6225, 120, 5700, 1575},
        {"Frm_Loco", "Main", 75, 1830, 11865, 1950},
        {"Frm_Desvios", "Main", 75, 3915, 4650, 1230},
        {"Frm_S88", "Main", 4800, 3915, 7215, 1230},
        {"Frm_MandarOrden", "Main", 75, 5250, 11820, 765},
        {"Pb_Locos_List", "Frm_Global", 120, 450, 2085, 375},
        {"Label2", "Frm_Global", 2280, 450, 2985, 405},
        {"Pb_Switch_List", "Frm_Global", 120, 1005, 2085, 375},
        {"Label10", "Frm_Global", 2280, 1005, 3375, 420},
        {"Pb_Loco_Request", "Frm_Loco", 135, 240, 1395, 375},
        {"Lbl_loco", "Frm_Loco", 2295, 315, 750, 255},
        {"Txt_Loco_Ad", "Frm_Loco", 3030, 285, 735, 285},
        {"PB_Loco_Release", "Frm_Loco", 4530, 240, 1545, 375},
        {"Label8", "Frm_Loco", 7275, 315, 1215, 255},
        {"Txt_Loco_Speed", "Frm_Loco", 8580, 285, 735, 285},
        {"Pb_Loco_CambioDireccion", "Frm_Loco", 10005, 240, 1650, 330},
        {"Pb_Loco_Back", "Frm_Loco", 135, 690, 2175, 630},
        {"Slider_Loco", "Frm_Loco", 2460, 660, 6975, 495},
        {"Pb_Loco_For", "Frm_Loco", 9480, 690, 2175, 630},
        {"Label3", "Frm_Loco", 2430, 1155, 465, 300},
        {"Label4", "Frm_Loco", 5010, 1155, 465, 300},
        {"Label5", "Frm_Loco", 7605, 1155, 465, 300},
        {"Label6", "Frm_Loco", 9000, 1155, 465, 300},
        {"Pb_Function_On", "Frm_Loco", 3615, 1470, 1320, 315},
        {"Label7", "Frm_Loco", 5130, 1500, 585, 255},
        {"Txt_Loco_Function", "Frm_Loco", 5760, 1500, 735, 285},
        {"Pb_Function_Off", "Frm_Loco", 6660, 1470, 1320, 315},
        {"Pb_Switch_Connect", "Frm_Desvios", 75, 240, 1395, 375},
        {"Label1", "Frm_Desvios", 1545, 285, 750, 255},
        {"Txt_Switch_Address", "Frm_Desvios", 2280, 285, 735, 285},
        {"Pb_Switch_Disconnect", "Frm_Desvios", 3105, 240, 1395, 375},
        {"Pb_Switch_On", "Frm_Desvios", 450, 780, 555, 315},
        {"Label9", "Frm_Desvios", 1215, 840, 1215, 255},
        {"Txt_Switch_Status", "Frm_Desvios", 2445, 810, 735, 285},
        {"Pb_Switch_Off", "Frm_Desvios", 3420, 780, 555, 315},
        {"Pb_Test", "Frm_S88", 6105, 840, 945, 285},
        {"Txt_CommandLine", "Frm_MandarOrden", 135, 315, 10545, 300},
        {"Pb_Command_Line", "Frm_MandarOrden", 10770, 300, 975, 330},
};

// The S88 grid by column: left edges, and the green indicator's top.
struct GridColumn
{
    int kbred, kred, kb, kbgreen, kgreenLeft, kgreenTop, kbLower;
};
const GridColumn kGrid[8] = {
        {735, 1440, 1350, 720, 1425, 645, 1365},   {1320, 2025, 1935, 1305, 2010, 645, 1950},
        {1905, 2610, 2535, 1890, 2625, 645, 2535}, {2490, 3195, 3120, 2475, 3210, 645, 3120},
        {3075, 3780, 3705, 3060, 3795, 660, 3705}, {3660, 4365, 4290, 3645, 4365, 660, 4290},
        {4245, 4950, 4890, 4230, 4965, 645, 4875}, {4830, 5535, 5475, 4815, 5550, 660, 5460},
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startupTexts_data();
    void startupTexts();
    void outputBoxShowsOneLineBreak();
    void startupInputAndVisibility_data();
    void startupInputAndVisibility();
    void fonts_data();
    void fonts();
    void substituteFaces_data();
    void substituteFaces();
    void colours_data();
    void colours();
    void lamps_data();
    void lamps();
    void geometry_data();
    void geometry();
    void captionsFit_data();
    void captionsFit();
    void controlArrays_data();
    void controlArrays();
    void tabOrder_data();
    void tabOrder();
    void panelStates_data();
    void panelStates();
    void foreignLampColour_data();
    void foreignLampColour();
    void panelCaptionGreysWhenDisabled_data();
    void panelCaptionGreysWhenDisabled();
    void lampClicks_data();
    void lampClicks();
    void lampShowsThroughLabel_data();
    void lampShowsThroughLabel();
    void lowerRuleLiesOverPrompt();
    void resizingMovesNothing_data();
    void resizingMovesNothing();
    void offButtonComesIntoView_data();
    void offButtonComesIntoView();
    void outputBoxWrapsLongLines_data();
    void outputBoxWrapsLongLines();
    void outputBoxShowsTheLatest_data();
    void outputBoxShowsTheLatest();
    void outputBoxShowsRepliesAsGiven_data();
    void outputBoxShowsRepliesAsGiven();
    void outputBoxReadsAsSent_data();
    void outputBoxReadsAsSent();
    void pictures_data();
    void pictures();
    void sliderTicks();
    void windowIcon();

private:
    template <typename T = QWidget>
    T *control(const QString &name) const
    {
        return m_window->findChild<T *>(name);
    }
    void showAndActivate();
    void apply(const QString &operation);

    std::unique_ptr<Main> m_window;
};

void TestWindow::init()
{
    m_window = std::make_unique<Main>();
}

void TestWindow::cleanup()
{
    m_window.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestWindow::showAndActivate()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestWindow::apply(const QString &operation)
{
    QVERIFY2(TestKit::bringTo(m_window.get(), operation), qPrintable(u"unknown operation "_s + operation));
}

void TestWindow::startupTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    const QList<std::pair<const char *, QString>> rows = {
            {"Pb_Connect", u"Conectar CS"_s},
            {"Txt_IP", u"192.168.1.3"_s},
            {"Pb_Disconnect", u"Desconectar CS"_s},
            {"Lbl_Stop", u"Stop"_s},
            {"Lbl_Go", u"Go"_s},
            {"Lbl_PushGO", u"Central Station en estado \"STOP\" pulsar \"GO\" para arrancarla ----------->"_s},
            {"Pb_Off", u"STOP"_s},
            {"Frm_Global", u"Informacion General"_s},
            {"Pb_Locos_List", u"Locomotoras en el circuito"_s},
            {"Label2", u"Nos transmite la lista de las locomotoras presentes en la Base de Datos de la CS."_s},
            {"Pb_Switch_List", u"Desvios en el circuito"_s},
            {"Label10", u"Nos transmite la lista de  en la Base de Datos de la CS."_s},
            {"Frm_Loco", u"Ordenes Locomotoras"_s},
            {"Pb_Loco_Request", u"Pedir Locomotora"_s},
            {"Lbl_loco", u"Direccion"_s},
            {"Txt_Loco_Ad", u"ID"_s},
            {"PB_Loco_Release", u"Soltar Locomotora"_s},
            {"Label8", u"Velocidad actual"_s},
            {"Txt_Loco_Speed", u"Speed"_s},
            {"Pb_Loco_CambioDireccion", u"Cambio de sentido"_s},
            {"Pb_Loco_Back", QString()},
            {"Pb_Loco_For", QString()},
            {"Label3", u"0"_s},
            {"Label4", u"50"_s},
            {"Label5", u"100"_s},
            {"Label6", u"127"_s},
            {"Pb_Function_On", u"Activada"_s},
            {"Label7", u"Funcion"_s},
            {"Txt_Loco_Function", u"Number"_s},
            {"Pb_Function_Off", u"Desactivada"_s},
            {"Frm_Desvios", u"Ordenes Desvios"_s},
            {"Pb_Switch_Connect", u"Pedir Desvio"_s},
            {"Label1", u"Direccion"_s},
            {"Txt_Switch_Address", u"ID"_s},
            {"Pb_Switch_Disconnect", u"Soltar Desvio"_s},
            {"Pb_Switch_On", u"ON"_s},
            {"Label9", u"Situacion actual"_s},
            {"Txt_Switch_Status", u"Status"_s},
            {"Pb_Switch_Off", u"OFF"_s},
            {"Frm_S88", u"S88"_s},
            {"Pb_Test", u"Test"_s},
            {"Lbl_Kb(1)", u"888"_s},
            {"Lbl_Kb(24)", u"888"_s},
            {"Lbl_Kbred(1)", QString()},
            {"Lbl_Kbgreen(8)", QString()},
            {"Frm_MandarOrden", u"Mandar Orden"_s},
            {"Txt_CommandLine", u"Escribir la linea de instrucciones aqui"_s},
            {"Pb_Command_Line", u"Submit"_s},
            {"Frame1", QString()},
            {"Frame2", QString()},
    };
    for (const auto &[name, text] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << text;
}

void TestWindow::startupTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    QWidget *widget = control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(textOf(widget), text);
}

// The start-up text ends in CR LF; the operator sees one line and the caret
// on the empty line below it, never a stray CR or an extra blank line.
void TestWindow::outputBoxShowsOneLineBreak()
{
    QCOMPARE(m_window->windowTitle(), u"Central Station"_s);
    const QTextDocument *document = m_window->Txt_Out->document();
    QCOMPARE(document->blockCount(), 2);
    QCOMPARE(document->firstBlock().text(), u"La Central Station dice ..."_s);
    QCOMPARE(document->lastBlock().text(), QString());
    QCOMPARE(m_window->Txt_Out->toPlainText(), u"La Central Station dice ...\n"_s);
}

void TestWindow::startupInputAndVisibility_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("takesInput");
    QTest::addColumn<bool>("visible");

    for (const char *name : {"Pb_Connect", "Txt_IP", "Pb_Disconnect", "Txt_Out", "Frame1", "Frame2"})
        QTest::newRow(name) << QString::fromLatin1(name) << true << true;
    QTest::newRow("Pb_Off below the client area") << u"Pb_Off"_s << true << true;
    for (const QString &name : kPowerControls)
        QTest::newRow(qPrintable(name + u" hidden"_s)) << name << true << false;
    // What lies inside them follows the panels, as the panel states show.
    for (const QString &name : kPanels)
        QTest::newRow(qPrintable(name + u" disabled"_s)) << name << false << true;
}

void TestWindow::startupInputAndVisibility()
{
    QFETCH(QString, name);
    QFETCH(bool, takesInput);
    QFETCH(bool, visible);

    m_window->show();
    QWidget *widget = control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->isEnabled(), takesInput);
    QCOMPARE(widget->isVisible(), visible);
}

void TestWindow::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");

    const QString window = u"MS Sans Serif"_s;
    QTest::newRow("window") << u"Main"_s << window << 8.25 << false;
    QTest::newRow("Pb_Connect bold") << u"Pb_Connect"_s << window << 8.25 << true;
    QTest::newRow("Pb_Disconnect regular") << u"Pb_Disconnect"_s << window << 8.25 << false;
    QTest::newRow("Txt_Out") << u"Txt_Out"_s << window << 8.25 << false;
    QTest::newRow("Lbl_PushGO bold") << u"Lbl_PushGO"_s << window << 8.25 << true;
    QTest::newRow("Pb_Off bold") << u"Pb_Off"_s << window << 8.25 << true;
    QTest::newRow("Lbl_Go") << u"Lbl_Go"_s << u"Verdana"_s << 15.75 << true;
    QTest::newRow("Lbl_Stop") << u"Lbl_Stop"_s << u"Verdana"_s << 15.75 << true;
    // A bold panel caption must not make the panel's controls bold.
    QTest::newRow("button in a panel") << u"Pb_Locos_List"_s << window << 8.25 << false;
    QTest::newRow("label in a panel") << u"Label2"_s << window << 8.25 << false;
    QTest::newRow("text box in a panel") << u"Txt_CommandLine"_s << window << 8.25 << false;
    QTest::newRow("number plate") << u"Lbl_Kb(3)"_s << window << 8.25 << false;
}

void TestWindow::fonts()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(bool, bold);

    QWidget *widget = name == u"Main" ? m_window.get() : control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->font().families().value(0), family);
    QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
}

// Where the named face is missing, the program's own substitute is used,
// not whatever the system would map the name to.
void TestWindow::substituteFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("substitute");

    QTest::newRow("window font") << u"Pb_Loco_Request"_s << u"MS Sans Serif"_s << u"Liberation Sans"_s;
    QTest::newRow("lamp font") << u"Lbl_Go"_s << u"Verdana"_s << u"DejaVu Sans"_s;
}

void TestWindow::substituteFaces()
{
    QFETCH(QString, name);
    QFETCH(QString, named);
    QFETCH(QString, substitute);

    const QString expected = QFontDatabase::families().contains(named) ? named : substitute;
    QCOMPARE(QFontInfo(control(name)->font()).family(), expected);
}

void TestWindow::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<bool>("filled");

    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    QTest::newRow("Lbl_PushGO red text") << u"Lbl_PushGO"_s << QPalette::WindowText << red << false;
    QTest::newRow("Lbl_Go white text") << u"Lbl_Go"_s << QPalette::WindowText << white << false;
    QTest::newRow("Lbl_Stop white text") << u"Lbl_Stop"_s << QPalette::WindowText << white << false;
    QTest::newRow("upper number plate white text") << u"Lbl_Kb(2)"_s << QPalette::WindowText << white << true;
    QTest::newRow("upper number plate black ground") << u"Lbl_Kb(2)"_s << QPalette::Window << black << true;
    QTest::newRow("lower number plate black ground") << u"Lbl_Kb(23)"_s << QPalette::Window << black << true;
}

// Colours hold in every colour group: the S88 panel is always disabled and
// its plates keep their look.
void TestWindow::colours()
{
    QFETCH(QString, name);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(QRgb, colour);
    QFETCH(bool, filled);

    QWidget *widget = control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->palette().color(QPalette::Active, role).rgb(), colour);
    QCOMPARE(widget->palette().color(QPalette::Disabled, role).rgb(), colour);
    QCOMPARE(widget->autoFillBackground(), filled);
}

void TestWindow::lamps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("border");
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<QRgb>("fill");

    QTest::newRow("Sh_Stop") << u"Sh_Stop"_s << qRgb(255, 0, 0) << 3 << qRgb(128, 0, 0);
    QTest::newRow("Sh_Go") << u"Sh_Go"_s << qRgb(0, 255, 0) << 3 << qRgb(0, 128, 0);
    for (int i = 1; i <= 8; ++i) {
        const QString red = u"Sh_Kred(%1)"_s.arg(i), green = u"Sh_Kgreen(%1)"_s.arg(i);
        QTest::newRow(qPrintable(red)) << red << qRgb(255, 0, 0) << 2 << qRgb(128, 0, 0);
        QTest::newRow(qPrintable(green)) << green << qRgb(0, 255, 0) << 2 << qRgb(0, 128, 0);
    }
}

void TestWindow::lamps()
{
    QFETCH(QString, name);
    QFETCH(QRgb, border);
    QFETCH(int, borderWidth);
    QFETCH(QRgb, fill);

    auto *shape = control<Shape>(name);
    QVERIFY2(shape, qPrintable(name));
    QCOMPARE(shape->borderColor(), border);
    QCOMPARE(shape->borderWidth(), borderWidth);
    QCOMPARE(shape->fillColor(), fill);

    // What is painted matches what is stored: border at the edge, fill inside.
    const QImage image = shape->grab().toImage();
    QCOMPARE(image.pixel(0, 0), border);
    QCOMPARE(image.pixel(borderWidth - 1, image.height() / 2), border);
    QCOMPARE(image.pixel(image.width() / 2, image.height() / 2), fill);
}

void TestWindow::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("box");

    for (const Box &b : kBoxes)
        QTest::newRow(b.name) << QString::fromLatin1(b.name) << QString::fromLatin1(b.container)
                              << pixels(b.left, b.top, b.width, b.height);
    for (int i = 1; i <= 8; ++i) {
        const GridColumn &c = kGrid[i - 1];
        const QList<std::pair<QString, QRect>> elements = {
                {u"Lbl_Kbred(%1)"_s.arg(i), pixels(c.kbred, 135, 330, 240)},
                {u"Sh_Kred(%1)"_s.arg(i), pixels(c.kred, 165, 285, 195)},
                {u"Lbl_Kb(%1)"_s.arg(i), pixels(c.kb, 390, 435, 210)},
                {u"Sh_Kgreen(%1)"_s.arg(i), pixels(c.kgreenLeft, c.kgreenTop, 285, 195)},
                {u"Lbl_Kbgreen(%1)"_s.arg(i), pixels(c.kbgreen, 840, 330, 240)},
                {u"Lbl_Kb(%1)"_s.arg(16 + i), pixels(c.kbLower, 885, 435, 210)},
        };
        for (const auto &[name, box] : elements)
            QTest::newRow(qPrintable(name)) << name << u"Frm_S88"_s << box;
    }
}

void TestWindow::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, box);

    m_window->show();
    QWidget *widget = control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), box);
    QCOMPARE(m_window->size(), QSize(802, 449));
}

// Every caption is readable in full: a face wider than the one the window was
// drawn for would clip button captions.
void TestWindow::captionsFit_data()
{
    QTest::addColumn<QString>("name");

    const Main window;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!textOf(widget).isEmpty() && !qobject_cast<QPlainTextEdit *>(widget))
            QTest::newRow(qPrintable(widget->objectName())) << widget->objectName();
    }
}

void TestWindow::captionsFit()
{
    QFETCH(QString, name);

    m_window->show();
    const QString clipping = TestKit::captionClipping(control(name));
    QVERIFY2(clipping.isEmpty(), qPrintable(clipping));
}

void TestWindow::controlArrays_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<QList<int>>("indices");

    QTest::newRow("Lbl_Kb skips 9 to 16")
            << u"Lbl_Kb"_s << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 17, 18, 19, 20, 21, 22, 23, 24};
    for (const char *array : {"Sh_Kred", "Sh_Kgreen", "Lbl_Kbred", "Lbl_Kbgreen"})
        QTest::newRow(array) << QString::fromLatin1(array) << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
}

void TestWindow::controlArrays()
{
    QFETCH(QString, array);
    QFETCH(QList<int>, indices);

    auto elementsOf = [this](const QString &array) -> QList<std::pair<int, QWidget *>> {
        QList<std::pair<int, QWidget *>> elements;
        auto add = [&](const auto &controls) {
            for (int i = 0; i <= 30; ++i)
                elements.append({i, controls(i)});
        };
        if (array == u"Lbl_Kb")
            add(m_window->Lbl_Kb);
        if (array == u"Sh_Kred")
            add(m_window->Sh_Kred);
        if (array == u"Sh_Kgreen")
            add(m_window->Sh_Kgreen);
        if (array == u"Lbl_Kbred")
            add(m_window->Lbl_Kbred);
        if (array == u"Lbl_Kbgreen")
            add(m_window->Lbl_Kbgreen);
        return elements;
    };
    QList<int> present;
    for (const auto &[index, widget] : elementsOf(array)) {
        if (!widget)
            continue;
        present.append(index);
        QCOMPARE(widget->objectName(), u"%1(%2)"_s.arg(array).arg(index));
    }
    QCOMPARE(present, indices);
}

void TestWindow::tabOrder_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QStringList>("cycle");

    const QStringList startup = {u"Pb_Connect"_s, u"Pb_Disconnect"_s, u"Txt_IP"_s, u"Txt_Out"_s, u"Pb_Off"_s};
    const QStringList powered = {u"Pb_Connect"_s,
                                 u"Pb_Disconnect"_s,
                                 u"Txt_IP"_s,
                                 u"Txt_Out"_s,
                                 u"Txt_Loco_Ad"_s,
                                 u"Pb_Loco_Request"_s,
                                 u"PB_Loco_Release"_s,
                                 u"Slider_Loco"_s,
                                 u"Pb_Locos_List"_s,
                                 u"Txt_Loco_Function"_s,
                                 u"Pb_Function_On"_s,
                                 u"Pb_Function_Off"_s,
                                 u"Pb_Switch_Off"_s,
                                 u"Pb_Switch_On"_s,
                                 u"Pb_Switch_Disconnect"_s,
                                 u"Pb_Switch_Connect"_s,
                                 u"Txt_Switch_Address"_s,
                                 u"Txt_Loco_Speed"_s,
                                 u"Txt_Switch_Status"_s,
                                 u"Pb_Switch_List"_s,
                                 u"Pb_Loco_Back"_s,
                                 u"Pb_Loco_For"_s,
                                 u"Pb_Off"_s,
                                 u"Txt_CommandLine"_s,
                                 u"Pb_Command_Line"_s};
    QTest::newRow("start-up") << QStringList() << startup;
    QTest::newRow("connected: the power labels take no focus") << QStringList{u"connected"_s} << startup;
    QTest::newRow("power on: panels open, disabled buttons skipped") << QStringList{u"connected"_s, u"on"_s} << powered;
    QTest::newRow("power off again") << QStringList{u"connected"_s, u"on"_s, u"off"_s} << startup;
}

void TestWindow::tabOrder()
{
    QFETCH(QStringList, operations);
    QFETCH(QStringList, cycle);

    showAndActivate();
    QCOMPARE(QApplication::focusWidget(), m_window->Pb_Connect);
    for (const QString &operation : operations)
        apply(operation);

    QStringList visited;
    for (qsizetype i = 0; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, cycle.mid(1) << cycle.first());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), cycle.last());
}

void TestWindow::panelStates_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QRgb>("go");
    QTest::addColumn<QRgb>("stop");
    QTest::addColumn<bool>("panelsOpen");
    QTest::addColumn<bool>("promptVisible");

    const QRgb goDark = qRgb(0, 128, 0), goLit = qRgb(0, 255, 0), stopDark = qRgb(128, 0, 0), stopLit = qRgb(255, 0, 0);
    QTest::newRow("connected: both lamps dark") << QStringList{u"connected"_s} << goDark << stopDark << false << true;
    QTest::newRow("Go") << QStringList{u"connected"_s, u"on"_s} << goLit << stopDark << true << false;
    QTest::newRow("Go twice") << QStringList{u"connected"_s, u"on"_s, u"on"_s} << goLit << stopDark << true << false;
    QTest::newRow("Stop right after connecting")
            << QStringList{u"connected"_s, u"off"_s} << goDark << stopLit << false << true;
    QTest::newRow("Stop twice") << QStringList{u"connected"_s, u"off"_s, u"off"_s} << goDark << stopLit << false
                                << true;
    QTest::newRow("Go then Stop") << QStringList{u"connected"_s, u"on"_s, u"off"_s} << goDark << stopLit << false
                                  << true;
    QTest::newRow("Go, Stop, Go") << QStringList{u"connected"_s, u"on"_s, u"off"_s, u"on"_s} << goLit << stopDark
                                  << true << false;
}

void TestWindow::panelStates()
{
    QFETCH(QStringList, operations);
    QFETCH(QRgb, go);
    QFETCH(QRgb, stop);
    QFETCH(bool, panelsOpen);
    QFETCH(bool, promptVisible);

    m_window->show();
    for (const QString &operation : operations)
        apply(operation);

    QCOMPARE(m_window->Sh_Go->fillColor(), go);
    QCOMPARE(m_window->Sh_Stop->fillColor(), stop);
    QCOMPARE(m_window->Lbl_PushGO->isVisible(), promptVisible);
    for (const QString &name : kPowerControls.mid(0, 4))
        QVERIFY2(control(name)->isVisible(), qPrintable(name));
    QVERIFY(!m_window->Pb_Connect->font().bold());
    QVERIFY(m_window->Pb_Disconnect->font().bold());

    // Nothing inside a closed panel takes input; the S88 panel never opens and
    // the direction toggle stays disabled.
    for (const QString &name : kPanels) {
        const bool open = panelsOpen && name != u"Frm_S88";
        auto *panel = control<QGroupBox>(name);
        QCOMPARE(panel->isEnabled(), open);
        for (QWidget *inside : panel->findChildren<QWidget *>()) {
            const bool expected = open && inside != m_window->Pb_Loco_CambioDireccion;
            QVERIFY2(inside->isEnabled() == expected, qPrintable(inside->objectName()));
        }
    }
    QCOMPARE(m_window->Pb_Loco_CambioDireccion->toolTip(), u"Desactivado"_s);
}

void TestWindow::foreignLampColour_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QRgb>("goBefore");
    QTest::addColumn<QRgb>("stopBefore");

    const QRgb blue = qRgb(0, 0, 255);
    QTest::newRow("Go with the GO lamp blue") << u"on"_s << blue << qRgb(255, 0, 0);
    QTest::newRow("Go with the GO lamp one step off dark") << u"on"_s << qRgb(0, 129, 0) << qRgb(255, 0, 0);
    QTest::newRow("Go with the GO lamp already lit") << u"on"_s << qRgb(0, 255, 0) << qRgb(255, 0, 0);
    QTest::newRow("Stop with the STOP lamp blue") << u"off"_s << qRgb(0, 255, 0) << blue;
    QTest::newRow("Stop with the STOP lamp already lit") << u"off"_s << qRgb(0, 255, 0) << qRgb(255, 0, 0);
}

// A lamp is switched only from its exact dark colour, and then its partner
// with it; the panels follow the power state all the same.
void TestWindow::foreignLampColour()
{
    QFETCH(QString, operation);
    QFETCH(QRgb, goBefore);
    QFETCH(QRgb, stopBefore);

    m_window->show();
    m_window->showConnected();
    m_window->Sh_Go->setFillColor(goBefore);
    m_window->Sh_Stop->setFillColor(stopBefore);
    apply(operation);

    QCOMPARE(m_window->Sh_Go->fillColor(), goBefore);
    QCOMPARE(m_window->Sh_Stop->fillColor(), stopBefore);
    const bool on = operation == u"on";
    QCOMPARE(m_window->Frm_Loco->isEnabled(), on);
    QCOMPARE(m_window->Lbl_PushGO->isVisible(), !on);
}

void TestWindow::panelCaptionGreysWhenDisabled_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("red");

    for (const char *name : {"Frm_Global", "Frm_Loco", "Frm_Desvios", "Frm_S88"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    QTest::newRow("Frm_MandarOrden in the default colour") << u"Frm_MandarOrden"_s << false;
}

void TestWindow::panelCaptionGreysWhenDisabled()
{
    QFETCH(QString, name);
    QFETCH(bool, red);

    auto *panel = control<Frame>(name);
    QVERIFY(panel);
    QVERIFY(panel->captionFont().bold());
    auto redPixels = [panel] {
        const QImage image = panel->grab(panel->captionRect()).toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += isReddish(image.pixel(x, y));
        return count;
    };
    panel->setEnabled(true);
    QCOMPARE(redPixels() > 0, red);
    panel->setEnabled(false);
    QCOMPARE(redPixels(), 0);
}

void TestWindow::lampClicks_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("goClicks");
    QTest::addColumn<int>("stopClicks");

    // Window coordinates: Sh_Go spans y 409..441, Lbl_Go y 412..438; Sh_Stop
    // spans y 409..441, Lbl_Stop y 413..439.
    const QPoint goCentre(705, 425), stopCentre(96, 426);
    QTest::newRow("Go label centre") << true << goCentre << goCentre << 1 << 0;
    QTest::newRow("Go label corner beyond its lamp") << true << QPoint(616, 412) << QPoint(616, 412) << 1 << 0;
    QTest::newRow("Stop label centre") << true << stopCentre << stopCentre << 0 << 1;
    QTest::newRow("Stop label bottom edge") << true << QPoint(50, 439) << QPoint(50, 439) << 0 << 1;
    QTest::newRow("GO lamp top strip") << true << QPoint(705, 410) << QPoint(705, 410) << 0 << 0;
    QTest::newRow("GO lamp bottom strip") << true << QPoint(705, 440) << QPoint(705, 440) << 0 << 0;
    QTest::newRow("STOP lamp top strip") << true << QPoint(96, 411) << QPoint(96, 411) << 0 << 0;
    QTest::newRow("STOP lamp bottom strip") << true << QPoint(96, 441) << QPoint(96, 441) << 0 << 0;
    QTest::newRow("dragged off the label") << true << goCentre << QPoint(400, 425) << 0 << 0;
    QTest::newRow("hidden labels at start-up") << false << goCentre << goCentre << 0 << 0;
}

// Clicks go through the window as the operator's would, so what lies on top
// at the point decides who receives them.
void TestWindow::lampClicks()
{
    QFETCH(bool, connected);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, goClicks);
    QFETCH(int, stopClicks);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    if (connected)
        m_window->showConnected();
    QSignalSpy go(m_window->Lbl_Go, &ClickLabel::clicked);
    QSignalSpy stop(m_window->Lbl_Stop, &ClickLabel::clicked);

    QWindow *window = m_window->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QTest::mouseRelease(window, Qt::LeftButton, {}, release);
    QCOMPARE(go.count(), goClicks);
    QCOMPARE(stop.count(), stopClicks);
}

void TestWindow::lampShowsThroughLabel_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QRgb>("colour");

    // Points inside a label's box, off its text.
    const QPoint go(630, 425), stop(20, 425);
    QTest::newRow("GO dark") << QStringList{u"connected"_s} << go << qRgb(0, 128, 0);
    QTest::newRow("GO lit") << QStringList{u"connected"_s, u"on"_s} << go << qRgb(0, 255, 0);
    QTest::newRow("STOP dark") << QStringList{u"connected"_s} << stop << qRgb(128, 0, 0);
    QTest::newRow("STOP lit") << QStringList{u"connected"_s, u"off"_s} << stop << qRgb(255, 0, 0);
}

void TestWindow::lampShowsThroughLabel()
{
    QFETCH(QStringList, operations);
    QFETCH(QPoint, point);
    QFETCH(QRgb, colour);

    m_window->show();
    for (const QString &operation : operations)
        apply(operation);
    const QImage image = m_window->grab().toImage();
    QCOMPARE(image.pixel(point), colour);

    // The white caption is drawn on top of the lamp.
    QWidget *label = point.x() < 400 ? static_cast<QWidget *>(m_window->Lbl_Stop) : m_window->Lbl_Go;
    const QRect box = label->geometry();
    int white = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    QVERIFY(white > 20);
}

void TestWindow::lowerRuleLiesOverPrompt()
{
    m_window->show();
    m_window->showConnected();
    const QRect overlap = m_window->Frame2->geometry() & m_window->Lbl_PushGO->geometry();
    QVERIFY(!overlap.isEmpty());
    QCOMPARE(m_window->childAt(overlap.center()), m_window->Frame2);
}

void TestWindow::resizingMovesNothing_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("enlarged") << QSize(1200, 900);
    QTest::newRow("shrunk") << QSize(400, 300);
    QTest::newRow("wider only") << QSize(1000, 449);
}

void TestWindow::resizingMovesNothing()
{
    QFETCH(QSize, size);

    m_window->show();
    QHash<QWidget *, QRect> before;
    for (QWidget *widget : m_window->findChildren<QWidget *>())
        before.insert(widget, widget->geometry());
    m_window->resize(size);
    QTRY_COMPARE(m_window->size(), size);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(it.key()->geometry() == it.value(), qPrintable(it.key()->objectName()));
}

void TestWindow::offButtonComesIntoView_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("visibleRows");

    QTest::newRow("as opened") << 449 << 0;
    QTest::newRow("just above the button") << 681 << 0;
    QTest::newRow("partly") << 690 << 9;
    QTest::newRow("whole button") << 706 << 25;
    QTest::newRow("much taller") << 900 << 25;
}

void TestWindow::offButtonComesIntoView()
{
    QFETCH(int, height);
    QFETCH(int, visibleRows);

    m_window->show();
    m_window->resize(802, height);
    QTRY_COMPARE(m_window->height(), height);
    QCOMPARE(m_window->Pb_Off->visibleRegion().boundingRect().height(), visibleRows);
    QVERIFY(m_window->Pb_Off->isVisible());
    QVERIFY(m_window->Pb_Off->isEnabled());
}

void TestWindow::outputBoxWrapsLongLines_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("words") << u"queryObjects(10, addr, name) "_s.repeated(8);
    QTest::newRow("no blanks") << u"x"_s.repeated(200);
}

void TestWindow::outputBoxWrapsLongLines()
{
    QFETCH(QString, text);

    m_window->show();
    QPlainTextEdit *out = m_window->Txt_Out;
    out->setPlainText(text);
    QApplication::processEvents();
    QVERIFY(out->document()->firstBlock().layout()->lineCount() > 1);
    QVERIFY(!out->horizontalScrollBar()->isVisible());
    QVERIFY(out->verticalScrollBar()->isVisible());
}

void TestWindow::outputBoxShowsTheLatest_data()
{
    // Received text ("data ...") and connection messages, handed to the
    // window back to back: what the box shows at once, what it shows once
    // the frame is over, and strData.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("atOnce");
    QTest::addColumn<QString>("afterFrame");
    QTest::addColumn<QString>("strData");

    const QString lost = u"CS no conectada"_s;
    QTest::newRow("reply after a quiet moment: at once") << QStringList{u"data A"_s} << u"A"_s << u"A"_s << u"A"_s;
    QTest::newRow("two replies in a row: only the second")
            << QStringList{u"data A"_s, u"data B"_s} << u"A"_s << u"B"_s << u"B"_s;
    QTest::newRow("replies within a frame: the latest, once")
            << QStringList{u"data A"_s, u"data B"_s, u"data C"_s} << u"A"_s << u"C"_s << u"C"_s;
    QTest::newRow("message after data: wins over the pending reply")
            << QStringList{u"data A"_s, u"data B"_s, u"message "_s + lost} << lost << lost << u"B"_s;
    QTest::newRow("data after a message: shown")
            << QStringList{u"data A"_s, u"message "_s + lost, u"data B"_s} << lost << u"B"_s << u"B"_s;
}

void TestWindow::outputBoxShowsTheLatest()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, atOnce);
    QFETCH(QString, afterFrame);
    QFETCH(QString, strData);

    QElapsedTimer clock;
    clock.start();
    for (const QString &step : steps) {
        const QString text = step.section(u' ', 1);
        step.startsWith(u"data"_s) ? m_window->showReceived(text) : m_window->showConnectionMessage(text);
    }
    if (clock.elapsed() >= 16)
        QSKIP("the steps took longer than a frame of 16 ms here");
    QCOMPARE(m_window->Txt_Out->toPlainText(), atOnce);
    QCOMPARE(m_window->strData(), strData);
    // Within a frame the box changes once, straight to its last text, or
    // not at all.
    QSignalSpy changes(m_window->Txt_Out, &QPlainTextEdit::textChanged);
    QCOMPARE(changes.wait(afterFrame == atOnce ? 50 : 1000), afterFrame != atOnce);
    QCOMPARE(m_window->Txt_Out->toPlainText(), afterFrame);
}

void TestWindow::outputBoxShowsRepliesAsGiven_data()
{
    QTest::addColumn<QString>("reply");

    QString list;
    for (int loco = 1000; loco < 1100; ++loco)
        list += u"%1 addr[%2] name[\"BR %3\"]\n"_s.arg(loco).arg(loco % 80 + 1).arg(loco % 120);
    QTest::newRow("a long list") << list;
    QTest::newRow("lines ending in CR LF") << QString(list).replace(u"\n"_s, u"\r\n"_s);
    QTest::newRow("lines ending in a lone CR") << QString(list).replace(u'\n', u'\r');
    QTest::newRow("empty lines, a break at the end") << u"a\n\n\r\nb\r"_s;
    QTest::newRow("empty lines, many") << u"a\n\n\nb\r\n\r\n\rc"_s.repeated(9);
    QTest::newRow("lines that wrap") << (u"msg["_s + QString(180, u'm') + u"]\n"_s).repeated(40);
}

// However the window hands a reply to the output box, the box reads as it
// does given the reply's text as it came, and shows it as that, scroll bar
// and all.
void TestWindow::outputBoxShowsRepliesAsGiven()
{
    QFETCH(QString, reply);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QPlainTextEdit *out = m_window->Txt_Out;
    m_window->showReceived(reply);
    const QString shownText = out->toPlainText();
    const QImage shown = out->grab().toImage();
    out->setPlainText(reply);
    QCOMPARE(shownText, out->toPlainText());
    QCOMPARE(shown, out->grab().toImage());
}

void TestWindow::outputBoxReadsAsSent_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("read");

    QTest::newRow("LF, blanks, an empty line, a tab")
            << QByteArray("line one\n  two\n\nfour\tx\n") << u"line one\n  two\n\nfour\tx\n"_s;
    QTest::newRow("CR LF") << QByteArray("<REPLY get(1, status)>\r\n1 status[go]\r\n<END 0 (OK)>\r\n")
                           << u"<REPLY get(1, status)>\n1 status[go]\n<END 0 (OK)>\n"_s;
    QTest::newRow("lone CR, none at the end") << QByteArray("a\rb\r\rc") << u"a\nb\n\nc"_s;
    QTest::newRow("no-break space, soft hyphen") << QByteArray("a\xa0 b\xad\n") << u"a\u00a0 b\u00ad\n"_s;
    QTest::newRow("more than sixteen lines") << QByteArray("1 addr[3]\r\n\r\n2\tname[\"BR 80\xa0\"]\n").repeated(12)
                                             << u"1 addr[3]\n\n2\tname[\"BR 80\u00a0\"]\n"_s.repeated(12);
    QTest::newRow("long lines that wrap") << (QByteArray("msg[") + QByteArray(180, 'm') + "]\r\n").repeated(20)
                                          << (u"msg["_s + QString(180, u'm') + u"]\n"_s).repeated(20);
}

// A screen reader, a copy of the whole box and a selection get the reply as
// the station sent it, each line break a line feed, however the box lays
// the lines out.
void TestWindow::outputBoxReadsAsSent()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, read);

    showAndActivate();
    m_window->showReceived(QString::fromLatin1(reply));
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(m_window->Txt_Out);
    QAccessibleTextInterface *text = box->textInterface();
    QCOMPARE(text->characterCount(), read.size());
    QCOMPARE(text->text(0, text->characterCount()), read);
    QCOMPARE(box->text(QAccessible::Value), read);
    const int third = int(read.size() / 3);
    QCOMPARE(text->text(third, 2 * third), read.mid(third, third));

    // A paragraph is a line of the reply; a line on screen starts with it.
    QString paragraphs;
    for (int at = 0, end = 0; at < read.size(); at = end) {
        int start = -1, lineStart = -1, lineEnd = -1;
        const QString paragraph = text->textAtOffset(at, QAccessible::ParagraphBoundary, &start, &end);
        const QString line = text->textAtOffset(at, QAccessible::LineBoundary, &lineStart, &lineEnd);
        QCOMPARE(start, at);
        QCOMPARE(lineStart, at);
        QVERIFY2(end > at && !paragraph.chopped(1).contains(u'\n') && paragraph.startsWith(line),
                 qPrintable(paragraph));
        paragraphs += paragraph;
    }
    QCOMPARE(paragraphs, read);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_window->Txt_Out, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_window->Txt_Out, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), read);
}

void TestWindow::pictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("arrowTip");
    QTest::addColumn<QPoint>("otherEnd");

    QTest::newRow("forward: arrow at the right") << u"Pb_Loco_For"_s << QPoint(134, 18) << QPoint(5, 18);
    QTest::newRow("backward: arrow at the left") << u"Pb_Loco_Back"_s << QPoint(5, 18) << QPoint(134, 18);
}

// The pictures are drawn for the screen they are shown on: twice the pixels
// at scale 2, not an enlarged 140 x 36 bitmap.
void TestWindow::pictures()
{
    QFETCH(QString, name);
    QFETCH(QPoint, arrowTip);
    QFETCH(QPoint, otherEnd);

    auto *button = control<QPushButton>(name);
    QCOMPARE(button->iconSize(), QSize(140, 36));
    const QImage picture = button->icon().pixmap(QSize(140, 36), 1.0).toImage();
    QCOMPARE(picture.size(), QSize(140, 36));
    QVERIFY(isReddish(picture.pixel(arrowTip)));
    QCOMPARE(picture.pixel(otherEnd), qRgb(255, 255, 255));

    const QPixmap sharp = button->icon().pixmap(QSize(140, 36), 2.0);
    QCOMPARE(sharp.size(), QSize(280, 72));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QVERIFY(isReddish(sharp.toImage().pixel(arrowTip * 2)));

    // On a disabled button the picture is greyed, its red arrow gone.
    const QImage greyed = button->icon().pixmap(QSize(140, 36), 1.0, QIcon::Disabled).toImage();
    QVERIFY(!isReddish(greyed.pixel(arrowTip)));
}

// The scale under the slider: a tick mark every 10 speed steps.
void TestWindow::sliderTicks()
{
    QCOMPARE(m_window->Slider_Loco->tickInterval(), 10);
    QVERIFY(m_window->Slider_Loco->tickPosition() != QSlider::NoTicks);
}

void TestWindow::windowIcon()
{
    const QIcon icon = m_window->windowIcon();
    // A title bar's size and a task bar's (Windows adds twice those).
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    for (const QSize size : icon.availableSizes()) {
        const QImage image = icon.pixmap(size).toImage();
        QCOMPARE(image.size(), size);
        // A cyan title bar over a white window.
        const QRgb bar = image.pixel(size.width() / 3, size.height() / 4);
        QVERIFY(qRed(bar) < 60 && qGreen(bar) > 180 && qBlue(bar) > 180);
        QCOMPARE(image.pixel(size.width() / 2, size.height() * 3 / 4), qRgb(255, 255, 255));
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
