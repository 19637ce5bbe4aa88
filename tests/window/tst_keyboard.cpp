// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The keyboard as an operator uses it: which text fields select their text
// when Tab, Shift+Tab or a click brings the focus, and Enter, keypad Enter
// and Space, tapped or held, on a focused push button; and the mouse buttons
// other than the left one, which press nothing.

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <memory>

#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;
using TestKit::textOf;

namespace {

enum class Reach { TabFromPrevious, BacktabFromNext, Click, ClickOverEarlierText, BackFromContextMenu };
enum class Typing { ReplacesAll, InsertsAtCursor, ChangesNothing };

QString selectionOf(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->selectedText();
    return static_cast<QPlainTextEdit *>(field)->textCursor().selectedText();
}

int cursorOf(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->cursorPosition();
    return static_cast<QPlainTextEdit *>(field)->textCursor().position();
}

} // namespace

Q_DECLARE_METATYPE(Reach)
Q_DECLARE_METATYPE(Typing)

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fieldSelectionOnFocus_data();
    void fieldSelectionOnFocus();
    void keyPressesFocusedButtonOnce_data();
    void keyPressesFocusedButtonOnce();
    void enterInFieldSendsNothing_data();
    void enterInFieldSendsNothing();
    void keyOnDisconnectEndsProgram_data();
    void keyOnDisconnectEndsProgram();
    void otherMouseButtonsPressNothing_data();
    void otherMouseButtonsPressNothing();
    void cleanup();

private:
    // Presses `key` on `target`, held through `repeats` repeats.
    static void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers, int repeats = 0);
    // The station holds exactly `expected` once a later click's command is in.
    void compareSent(QWidget *target, const QByteArray &expected);

    // One powered panel shared by the rows that only send commands.
    std::unique_ptr<PanelFixture> m_panel;
};

void TestKeyboard::initTestCase()
{
    m_panel = std::make_unique<PanelFixture>();
    QVERIFY(m_panel->connectAndPowerOn());
}

void TestKeyboard::cleanupTestCase()
{
    m_panel.reset();
}

void TestKeyboard::fieldSelectionOnFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("neighbour");
    QTest::addColumn<Reach>("reach");
    QTest::addColumn<Typing>("typing");

    // Each field with the controls before and after it in the tab order of
    // the powered window.
    struct Field
    {
        const char *name;
        const char *previous;
        const char *next;
        Typing typing;
    };
    const Field fields[] = {
            {"Txt_IP", "Pb_Disconnect", "Txt_Out", Typing::InsertsAtCursor},
            {"Txt_Out", "Txt_IP", "Txt_Loco_Ad", Typing::InsertsAtCursor},
            {"Txt_Loco_Ad", "Txt_Out", "Pb_Loco_Request", Typing::ReplacesAll},
            {"Txt_Loco_Function", "Pb_Locos_List", "Pb_Function_On", Typing::ReplacesAll},
            {"Txt_Switch_Address", "Pb_Switch_Connect", "Txt_Loco_Speed", Typing::ReplacesAll},
            {"Txt_Loco_Speed", "Txt_Switch_Address", "Txt_Switch_Status", Typing::ChangesNothing},
            {"Txt_Switch_Status", "Txt_Loco_Speed", "Pb_Switch_List", Typing::InsertsAtCursor},
            {"Txt_CommandLine", "Pb_Off", "Pb_Command_Line", Typing::ReplacesAll},
    };
    for (const Field &f : fields) {
        QTest::addRow("%s by Tab from %s", f.name, f.previous)
                << f.name << f.previous << Reach::TabFromPrevious << f.typing;
        QTest::addRow("%s by Shift+Tab from %s", f.name, f.next)
                << f.name << f.next << Reach::BacktabFromNext << f.typing;
        QTest::addRow("%s by click", f.name) << f.name << QString() << Reach::Click << f.typing;
        if (f.typing != Typing::ReplacesAll)
            continue;
        QTest::addRow("%s by click over earlier text", f.name)
                << f.name << QString() << Reach::ClickOverEarlierText << f.typing;
        // The menu only borrows the focus: its Paste must go in at the cursor.
        QTest::addRow("%s back from its context menu", f.name)
                << f.name << QString() << Reach::BackFromContextMenu << Typing::InsertsAtCursor;
    }
}

// A fresh window for every row, so each field holds its start-up text (or
// one put there before the focus comes) and its cursor has not been moved.
void TestKeyboard::fieldSelectionOnFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, neighbour);
    QFETCH(Reach, reach);
    QFETCH(Typing, typing);

    Main window;
    window.showConnected();
    window.showPowerOn();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *target = window.findChild<QWidget *>(field);
    QVERIFY(target);
    if (reach == Reach::ClickOverEarlierText)
        qobject_cast<QLineEdit *>(target)->setText(u"earlier text"_s);
    const QString before = textOf(target);
    QVERIFY(!before.isEmpty());

    if (reach == Reach::BackFromContextMenu) {
        target->setFocus();
        static_cast<QLineEdit *>(target)->end(false);
        const QPoint at = target->rect().center();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &rightClick);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else if (reach == Reach::Click || reach == Reach::ClickOverEarlierText) {
        window.Pb_Connect->setFocus();
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    } else {
        auto *from = window.findChild<QWidget *>(neighbour);
        QVERIFY(from);
        from->setFocus();
        QCOMPARE(QApplication::focusWidget(), from);
        if (reach == Reach::TabFromPrevious)
            QTest::keyClick(from, Qt::Key_Tab);
        else
            QTest::keyClick(from, Qt::Key_Backtab, Qt::ShiftModifier);
    }
    QCOMPARE(QApplication::focusWidget(), target);

    if (typing == Typing::ReplacesAll)
        QCOMPARE(selectionOf(target), before);
    else
        QCOMPARE(selectionOf(target), QString());

    QTest::keyClick(target, 'x');
    switch (typing) {
    case Typing::ReplacesAll:
        QCOMPARE(textOf(target), u"x"_s);
        break;
    case Typing::InsertsAtCursor: {
        QString expected = before;
        expected.insert(cursorOf(target) - 1, QLatin1Char('x'));
        QCOMPARE(textOf(target), expected);
        break;
    }
    case Typing::ChangesNothing:
        QCOMPARE(textOf(target), before);
        break;
    }
}

void TestKeyboard::press(QWidget *target, int key, Qt::KeyboardModifiers modifiers, int repeats)
{
    // A message box nobody expects (a take refusing its identifier) is
    // closed by the fixture, which fails the row.
    QTest::keyPress(target, Qt::Key(key), modifiers);
    // A key held down repeats as pairs of release and press marked as repeats.
    for (int i = 0; i < repeats; ++i) {
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent repeat(type, key, modifiers, QString(), true);
            QApplication::sendEvent(target, &repeat);
        }
    }
    QTest::keyRelease(target, Qt::Key(key), modifiers);
}

void TestKeyboard::compareSent(QWidget *target, const QByteArray &expected)
{
    // A mouse click on a list button after the key: once its command is in,
    // everything the key sent is in too.
    Main *w = m_panel->window();
    QWidget *marker = target == w->Pb_Locos_List ? w->Pb_Switch_List : w->Pb_Locos_List;
    const QByteArray markerBytes = marker == w->Pb_Locos_List ? QByteArray("queryObjects(10, addr, name)")
                                                              : QByteArray("queryObjects(11, addr, name1)");
    QTest::mouseClick(marker, Qt::LeftButton);
    QCOMPARE(m_panel->receive(expected + markerBytes), expected + markerBytes);
}

void TestKeyboard::keyPressesFocusedButtonOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<int>("clicks");

    // What each click sends is the table of tst_sentcommands; here, that the
    // key makes the click.
    const char *const buttons[] = {
            "Pb_Connect",           "Pb_Locos_List", "Pb_Switch_List", "Pb_Loco_Request", "PB_Loco_Release",
            "Pb_Loco_Back",         "Pb_Loco_For",   "Pb_Function_On", "Pb_Function_Off", "Pb_Switch_Connect",
            "Pb_Switch_Disconnect", "Pb_Switch_On",  "Pb_Switch_Off",  "Pb_Command_Line", "Pb_Off",
    };
    struct Key
    {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    const Key keys[] = {
            {"Enter", Qt::Key_Return, Qt::NoModifier},
            {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
            {"Space", Qt::Key_Space, Qt::NoModifier},
    };
    for (const Key &k : keys) {
        for (const char *b : buttons)
            QTest::addRow("%s by %s", b, k.name) << b << k.key << k.modifiers << 0 << 1;
        // Held down, the key clicks once.
        QTest::addRow("Pb_Locos_List by %s held", k.name) << "Pb_Locos_List" << k.key << k.modifiers << 3 << 1;
        // Disabled from start-up: it takes no focus, and a key sent to it
        // all the same does nothing.
        QTest::addRow("Pb_Loco_CambioDireccion (disabled) by %s", k.name)
                << "Pb_Loco_CambioDireccion" << k.key << k.modifiers << 0 << 0;
    }
    QTest::newRow("Pb_Locos_List by Escape")
            << "Pb_Locos_List" << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 0 << 0;
}

void TestKeyboard::keyPressesFocusedButtonOnce()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, repeats);
    QFETCH(int, clicks);

    Main *w = m_panel->window();
    // The focus test's windows may have taken the keyboard.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto *target = w->findChild<QPushButton *>(button);
    QVERIFY(target);
    QSignalSpy clicked(target, &QAbstractButton::clicked);
    // The pressed button does not draw inside its click, so the click's
    // command leaves first; it draws again at the event loop's next pass.
    bool drawsInClick = false;
    QObject row;
    connect(target, &QAbstractButton::clicked, &row, [&] { drawsInClick = target->updatesEnabled(); });
    target->setFocus();
    QCOMPARE(QApplication::focusWidget() == target, target->isEnabled());
    press(target, key, modifiers, repeats);
    QCOMPARE(clicked.count(), clicks);
    QVERIFY(!drawsInClick);
    QCoreApplication::processEvents();
    QVERIFY(target->updatesEnabled());
}

void TestKeyboard::enterInFieldSendsNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    for (const char *field : {"Txt_IP", "Txt_Out", "Txt_Loco_Ad", "Txt_Loco_Function", "Txt_Switch_Address",
                              "Txt_Loco_Speed", "Txt_Switch_Status", "Txt_CommandLine"}) {
        QTest::addRow("%s, Enter", field) << field << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::addRow("%s, keypad Enter", field)
                << field << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
}

void TestKeyboard::enterInFieldSendsNothing()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    Main *w = m_panel->window();
    // The focus test's windows may have taken the keyboard.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Txt_CommandLine->setText(u"get(1, status)"_s);
    // What the key rows' clicks sent is forgotten, on its way or not.
    m_panel->received();
    m_panel->clearReceived();
    auto *target = w->findChild<QWidget *>(field);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    press(target, key, modifiers);
    compareSent(target, QByteArray());
    QVERIFY(w->isVisible());
}

void TestKeyboard::keyOnDisconnectEndsProgram_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
}

// "Desconectar CS" ends the program: the key is pressed inside the
// application's event loop, which the press must end by itself.
void TestKeyboard::keyOnDisconnectEndsProgram()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    // The shared panel would keep the application running.
    m_panel->window()->hide();
    PanelFixture panel;
    QVERIFY(panel.connectAndPowerOn());
    Main *w = panel.window();
    QSignalSpy clicked(w->Pb_Disconnect, &QAbstractButton::clicked);
    w->Pb_Disconnect->setFocus();
    QCOMPARE(QApplication::focusWidget(), w->Pb_Disconnect);
    QTimer::singleShot(0, w, [w, key, modifiers] {
        QTest::keyClick(w->Pb_Disconnect, Qt::Key(key), modifiers);
        // A window still shown after the press would keep the program going.
        if (w->isVisible())
            QCoreApplication::exit(99);
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!w->isVisible());
    QTRY_COMPARE(panel.stationSide()->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(panel.received(), QByteArray());
}

void TestKeyboard::otherMouseButtonsPressNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");

    for (const char *control : {"Pb_Locos_List", "Lbl_Go", "Lbl_Stop"}) {
        QTest::addRow("%s, right button", control) << control << Qt::RightButton;
        QTest::addRow("%s, middle button", control) << control << Qt::MiddleButton;
    }
}

void TestKeyboard::otherMouseButtonsPressNothing()
{
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);

    m_panel->clearReceived();
    auto *target = m_panel->window()->findChild<QWidget *>(control);
    QVERIFY(target);
    QTest::mouseClick(target, button, {}, target->rect().center());
    compareSent(target, QByteArray());
    QVERIFY(m_panel->window()->Frm_Loco->isEnabled());
}

void TestKeyboard::cleanup()
{
    // A message box nobody expected would be left open here.
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
