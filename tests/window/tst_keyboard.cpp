// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The keyboard as an operator uses it: which text fields select their text
// when Tab, Shift+Tab or a click brings the focus, and Enter, keypad Enter
// and Space on a focused push button.

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <memory>

#include "actions/panel.h"
#include "window/clicklabel.h"
#include "window/main.h"

using namespace Qt::StringLiterals;

namespace {

// A station on 127.0.0.1 that records every byte the panel writes to it.
class RecordingStation
{
public:
    RecordingStation()
    {
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            qWarning("the recording station cannot listen on loopback");
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            m_peer = m_server.nextPendingConnection();
            QObject::connect(m_peer, &QTcpSocket::readyRead, m_peer, [this] { m_received += m_peer->readAll(); });
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray received() const { return m_received; }
    void clear() { m_received.clear(); }
    bool clientLeft() const { return m_peer && m_peer->state() == QAbstractSocket::UnconnectedState; }

private:
    QTcpServer m_server;
    QTcpSocket *m_peer = nullptr;
    QByteArray m_received;
};

enum class Reach { TabFromPrevious, BacktabFromNext, Click, BackFromContextMenu };
enum class Typing { ReplacesAll, InsertsAtCursor, ChangesNothing };

QString textOf(QWidget *field)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->text();
    return static_cast<QPlainTextEdit *>(field)->toPlainText();
}

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

// The panel after "Conectar CS" and "Go", connected to `station`.
std::unique_ptr<Panel> poweredPanel(RecordingStation &station)
{
    auto panel = std::make_unique<Panel>(station.port());
    Main *window = &panel->window();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    window->Txt_IP->setText(u"127.0.0.1"_s);
    QTest::mouseClick(window->Pb_Connect, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return window->Txt_Out->toPlainText() == "CS conectada"_L1; }, 5000))
        return nullptr;
    QTest::mouseClick(window->Lbl_Go, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return station.received() == "set(1, go)"; }, 5000))
        return nullptr;
    station.clear();
    return panel;
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
    void cleanup();

private:
    // Presses `key` on `target`; the station then holds exactly `expected`.
    void pressAndCompare(QWidget *target, int key, Qt::KeyboardModifiers modifiers, const QByteArray &expected);

    // One powered panel shared by the rows that only send commands.
    std::unique_ptr<RecordingStation> m_station;
    std::unique_ptr<Panel> m_panel;
};

void TestKeyboard::initTestCase()
{
    m_station = std::make_unique<RecordingStation>();
    m_panel = poweredPanel(*m_station);
    QVERIFY(m_panel);
}

void TestKeyboard::cleanupTestCase()
{
    m_panel.reset();
    m_station.reset();
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
        // The menu only borrows the focus: its Paste must go in at the cursor.
        if (f.typing == Typing::ReplacesAll)
            QTest::addRow("%s back from its context menu", f.name)
                    << f.name << QString() << Reach::BackFromContextMenu << Typing::InsertsAtCursor;
    }
}

// A fresh window for every row, so each field holds its start-up text and
// its cursor has not been moved.
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
    } else if (reach == Reach::Click) {
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

void TestKeyboard::pressAndCompare(QWidget *target, int key, Qt::KeyboardModifiers modifiers,
                                   const QByteArray &expected)
{
    // A message box nobody expects (a take refusing its identifier) is
    // closed at once and fails the row, rather than holding the key press.
    bool boxOpened = false;
    QTimer boxWatch;
    boxWatch.setInterval(10);
    connect(&boxWatch, &QTimer::timeout, this, [&boxOpened] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    boxWatch.start();
    QTest::keyClick(target, Qt::Key(key), modifiers);
    boxWatch.stop();
    QVERIFY(!boxOpened);
    // A mouse click on a list button after the key: once its command is in,
    // everything the key sent is in too.
    Main &w = m_panel->window();
    QWidget *marker = target == w.Pb_Locos_List ? w.Pb_Switch_List : w.Pb_Locos_List;
    const QByteArray markerBytes = marker == w.Pb_Locos_List ? QByteArray("queryObjects(10, addr, name)")
                                                             : QByteArray("queryObjects(11, addr, name1)");
    QTest::mouseClick(marker, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_station->received(), expected + markerBytes, 5000);
}

void TestKeyboard::keyPressesFocusedButtonOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outputBox");

    // With the fields as the test body fills them: locomotive 1000, function
    // 3, accessory 20000, command line "get(1, status)".
    struct Button
    {
        const char *name;
        const char *bytes;
        const char *outputBox;
    };
    const Button buttons[] = {
            {"Pb_Connect", "", "CS conectada"},
            {"Pb_Locos_List", "queryObjects(10, addr, name)", nullptr},
            {"Pb_Switch_List", "queryObjects(11, addr, name1)", nullptr},
            {"Pb_Loco_Request", "request(1000, control)", nullptr},
            {"PB_Loco_Release", "release(1000, control)", nullptr},
            {"Pb_Loco_Back", "set(1000, dir[1])", nullptr},
            {"Pb_Loco_For", "set(1000, dir[0])", nullptr},
            {"Pb_Function_On", "set(1000, func[3, 1])", nullptr},
            {"Pb_Function_Off", "set(1000, func[3, 0])", nullptr},
            {"Pb_Switch_Connect", "request(20000, control)", nullptr},
            {"Pb_Switch_Disconnect", "release(20000, control)", nullptr},
            {"Pb_Switch_On", "set(20000, state[1])", nullptr},
            {"Pb_Switch_Off", "set(20000, state[0])", nullptr},
            {"Pb_Command_Line", "get(1, status)", nullptr},
            {"Pb_Off", "", nullptr},
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
        for (const Button &b : buttons)
            QTest::addRow("%s by %s", b.name, k.name) << b.name << k.key << k.modifiers << 1 << QByteArray(b.bytes)
                                                      << (b.outputBox ? QString::fromLatin1(b.outputBox) : QString());
        // Disabled from start-up: it takes no focus, and a key sent to it
        // all the same does nothing.
        QTest::addRow("Pb_Loco_CambioDireccion (disabled) by %s", k.name)
                << "Pb_Loco_CambioDireccion" << k.key << k.modifiers << 0 << QByteArray() << QString();
    }
}

void TestKeyboard::keyPressesFocusedButtonOnce()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, clicks);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outputBox);

    Main *w = &m_panel->window();
    // The focus test's windows may have taken the keyboard.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Txt_Loco_Ad->setText(u"1000"_s);
    w->Txt_Loco_Function->setText(u"3"_s);
    w->Txt_Switch_Address->setText(u"20000"_s);
    w->Txt_CommandLine->setText(u"get(1, status)"_s);
    w->Txt_Out->setPlainText(u"before the key"_s);
    m_station->clear();

    auto *target = w->findChild<QPushButton *>(button);
    QVERIFY(target);
    QSignalSpy clicked(target, &QAbstractButton::clicked);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget() == target, target->isEnabled());
    pressAndCompare(target, key, modifiers, bytes);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(w->Txt_Out->toPlainText(), outputBox.isNull() ? u"before the key"_s : outputBox);
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

    Main *w = &m_panel->window();
    // The focus test's windows may have taken the keyboard.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Txt_CommandLine->setText(u"get(1, status)"_s);
    m_station->clear();
    auto *target = w->findChild<QWidget *>(field);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    pressAndCompare(target, key, modifiers, QByteArray());
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
    m_panel->window().hide();
    RecordingStation station;
    const std::unique_ptr<Panel> panel = poweredPanel(station);
    QVERIFY(panel);
    Main *w = &panel->window();
    QSignalSpy clicked(w->Pb_Disconnect, &QAbstractButton::clicked);
    w->Pb_Disconnect->setFocus();
    QCOMPARE(QApplication::focusWidget(), w->Pb_Disconnect);
    QTimer::singleShot(0, w, [w, key, modifiers] { QTest::keyClick(w->Pb_Disconnect, Qt::Key(key), modifiers); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!w->isVisible());
    QTRY_VERIFY(station.clientLeft());
    QCOMPARE(station.received(), QByteArray());
}

void TestKeyboard::cleanup()
{
    // A message box nobody expected would be left open here.
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
