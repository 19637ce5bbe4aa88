// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a screen reader meets it: every control that takes input or
// shows state has a name and a role it can announce, the lamps say whether
// they are lit, and the power labels can be pressed like buttons.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFile>
#include <QLabel>
#include <QMetaEnum>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <memory>

#include "window/clicklabel.h"
#include "window/main.h"
#include "window/shape.h"

using namespace Qt::StringLiterals;

namespace {

// Collects every interface below `parent`, depth first.
void walk(QAccessibleInterface *parent, QList<QAccessibleInterface *> &found)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (!child)
            continue;
        found.append(child);
        walk(child, found);
    }
}

// What a control must be announced as, by what it does.
QList<QAccessible::Role> rolesFor(const QWidget *control)
{
    if (qobject_cast<const ClickLabel *>(control) || qobject_cast<const QPushButton *>(control))
        return {QAccessible::Button};
    if (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QPlainTextEdit *>(control))
        return {QAccessible::EditableText};
    if (qobject_cast<const QSlider *>(control))
        return {QAccessible::Slider};
    if (qobject_cast<const Shape *>(control))
        return {QAccessible::StaticText, QAccessible::Indicator};
    return {};
}

// Controls that take input or show state; plain captions and the empty
// labels of the S88 grid are neither.
bool takesInputOrShowsState(const QWidget *control)
{
    return !rolesFor(control).isEmpty();
}

// The rows of the table of the window's accessible controls, which the
// Windows check compares with what UI Automation reads too: per control its
// object name, role, name and start-up text, split at "|" and trimmed.
QList<QStringList> controlTable()
{
    QFile file(u":/accessible-controls.txt"_s);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList cells = line.split(u'|');
        for (QString &cell : cells)
            cell = cell.trimmed();
        rows.append(cells);
    }
    return rows;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlIsAnnounced_data();
    void controlIsAnnounced();
    void everyControlIsNamedInTheTree();
    void fieldsAreLabelledByTheirLabels_data();
    void fieldsAreLabelledByTheirLabels();
    void lampsTellWhetherTheyAreLit();
    void powerLabelPressesLikeAButton_data();
    void powerLabelPressesLikeAButton();
    void outputBoxIsAMultiLineTextBox();
    void nothingVisibleIsAdded();

private:
    QAccessibleInterface *interfaceOf(const QString &name) const;

    std::unique_ptr<Main> m_window;
};

void TestAccessibility::init()
{
    m_window = std::make_unique<Main>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestAccessibility::cleanup()
{
    m_window.reset();
}

QAccessibleInterface *TestAccessibility::interfaceOf(const QString &name) const
{
    QWidget *control = name == m_window->objectName() ? m_window.get() : m_window->findChild<QWidget *>(name);
    return control ? QAccessible::queryAccessibleInterface(control) : nullptr;
}

void TestAccessibility::controlIsAnnounced_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    const QList<QStringList> rows = controlTable();
    QVERIFY(!rows.isEmpty());
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    for (const QStringList &cells : rows) {
        bool known = false;
        const int role = cells.size() == 4 ? roles.keyToValue(cells[1].toLatin1().constData(), &known) : 0;
        QVERIFY2(known, qPrintable(cells.join(u'|')));
        QTest::newRow(qPrintable(cells[0])) << cells[0] << QAccessible::Role(role) << cells[2] << cells[3];
    }
}

void TestAccessibility::controlIsAnnounced()
{
    QFETCH(QString, control);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QString, text);

    QAccessibleInterface *accessible = interfaceOf(control);
    QVERIFY(accessible);
    QVERIFY(accessible->isValid());
    QCOMPARE(accessible->role(), role);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (!text.isEmpty())
        QCOMPARE(accessible->text(QAccessible::Value), text);
}

// Walking down from the window reaches every control that takes input or
// shows state, hidden ones included, and each has a name and a fitting role.
// Two controls side by side in one panel never share a name.
void TestAccessibility::everyControlIsNamedInTheTree()
{
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(m_window.get());
    QVERIFY(root);
    QCOMPARE(root->role(), QAccessible::Window);
    QCOMPARE(root->text(QAccessible::Name), u"Central Station"_s);

    QList<QAccessibleInterface *> found;
    walk(root, found);
    QSet<QObject *> reached;
    QHash<QObject *, QStringList> namesByContainer;
    for (QAccessibleInterface *accessible : std::as_const(found)) {
        auto *control = qobject_cast<QWidget *>(accessible->object());
        if (!control || !takesInputOrShowsState(control))
            continue;
        reached.insert(control);
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->objectName() + " has no accessible name"_L1));
        QVERIFY2(rolesFor(control).contains(accessible->role()),
                 qPrintable(control->objectName() + " has the role "_L1 + QString::number(accessible->role())));
        QStringList &siblings = namesByContainer[control->parent()];
        QVERIFY2(!siblings.contains(name), qPrintable(control->objectName() + " repeats the name "_L1 + name));
        siblings.append(name);
    }

    // The table of accessible controls lists them all, so that checking it
    // elsewhere checks every control.
    QStringList listed;
    for (const QStringList &cells : controlTable())
        listed.append(cells.first());
    const QList<QWidget *> all = m_window->findChildren<QWidget *>();
    int expected = 0;
    for (QWidget *control : all) {
        if (!takesInputOrShowsState(control) || control->objectName().isEmpty())
            continue;
        ++expected;
        QVERIFY2(reached.contains(control), qPrintable(control->objectName() + " is not in the tree"_L1));
        QVERIFY2(listed.contains(control->objectName()),
                 qPrintable(control->objectName() + " is missing from accessible-controls.txt"_L1));
    }
    // 18 buttons, 8 text boxes, the slider, 2 lamps, 2 power labels, 16 S88 indicators.
    QCOMPARE(expected, 47);
}

void TestAccessibility::fieldsAreLabelledByTheirLabels_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");

    QTest::newRow("locomotive address") << u"Txt_Loco_Ad"_s << u"Lbl_loco"_s;
    QTest::newRow("speed") << u"Txt_Loco_Speed"_s << u"Label8"_s;
    QTest::newRow("function") << u"Txt_Loco_Function"_s << u"Label7"_s;
    QTest::newRow("turnout address") << u"Txt_Switch_Address"_s << u"Label1"_s;
    QTest::newRow("turnout status") << u"Txt_Switch_Status"_s << u"Label9"_s;
}

void TestAccessibility::fieldsAreLabelledByTheirLabels()
{
    QFETCH(QString, field);
    QFETCH(QString, label);

    QAccessibleInterface *accessible = interfaceOf(field);
    QVERIFY(accessible);
    QStringList labelledBy;
    for (const auto &relation : accessible->relations(QAccessible::Label))
        labelledBy.append(relation.first->object()->objectName());
    QVERIFY2(labelledBy.contains(label), qPrintable(labelledBy.join(u' ')));
    QCOMPARE(accessible->text(QAccessible::Name), m_window->findChild<QLabel *>(label)->text());
}

void TestAccessibility::lampsTellWhetherTheyAreLit()
{
    QAccessibleInterface *go = interfaceOf(u"Sh_Go"_s);
    QAccessibleInterface *stop = interfaceOf(u"Sh_Stop"_s);
    QVERIFY(go && stop);
    const QString lit = u"encendida"_s, dark = u"apagada"_s;

    m_window->showConnected();
    QVERIFY(!go->state().invisible);
    QCOMPARE(go->text(QAccessible::Value), dark);
    QCOMPARE(stop->text(QAccessible::Value), dark);

    m_window->showPowerOn();
    QCOMPARE(go->text(QAccessible::Value), lit);
    QCOMPARE(go->text(QAccessible::Description), lit);
    QCOMPARE(stop->text(QAccessible::Value), dark);

    m_window->showPowerOff();
    QCOMPARE(go->text(QAccessible::Value), dark);
    QCOMPARE(stop->text(QAccessible::Value), lit);
    QCOMPARE(stop->text(QAccessible::Description), lit);

    // The S88 indicators are never driven: always dark.
    QCOMPARE(interfaceOf(u"Sh_Kgreen(3)"_s)->text(QAccessible::Value), dark);
}

void TestAccessibility::powerLabelPressesLikeAButton_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("Go") << u"Lbl_Go"_s;
    QTest::newRow("Stop") << u"Lbl_Stop"_s;
}

void TestAccessibility::powerLabelPressesLikeAButton()
{
    QFETCH(QString, label);
    auto *control = m_window->findChild<ClickLabel *>(label);
    QVERIFY(control);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    QAccessibleActionInterface *actions = accessible->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicked(control, &ClickLabel::clicked);

    // Hidden until connected: pressing it then does nothing, as with the mouse.
    QVERIFY(accessible->state().invisible);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.count(), 0);

    m_window->showConnected();
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.count(), 1);
}

// The output box is announced as a text box of several lines that can be
// read, selected and typed into; where a character stands on screen and which
// character stands at a point agree, as a magnifier follows the reading.
void TestAccessibility::outputBoxIsAMultiLineTextBox()
{
    m_window->showReceived(u"<REPLY get(1, status)>\n1 status[go]\n"_s);
    QAccessibleInterface *box = interfaceOf(u"Txt_Out"_s);
    QVERIFY(box->editableTextInterface());
    const QAccessible::State state = box->state();
    QVERIFY(state.multiLine && state.selectableText && state.editable && !state.readOnly);

    QAccessibleTextInterface *text = box->textInterface();
    const QRect first = text->characterRect(0);
    const QRect below = text->characterRect(23);
    QVERIFY(!first.isEmpty() && below.top() >= first.bottom());
    QVERIFY(box->rect().contains(first) && box->rect().contains(below));
    QCOMPARE(text->offsetAtPoint(QPoint(first.left() + 1, first.center().y())), 0);
    QCOMPARE(text->offsetAtPoint(QPoint(below.left() + 1, below.center().y())), 23);
}

// Names are for assistive technology only: the one tool tip stays the only
// one (the captions are the window's start-up table).
void TestAccessibility::nothingVisibleIsAdded()
{
    for (const QWidget *control : m_window->findChildren<QWidget *>()) {
        const QString expected = control == m_window->Pb_Loco_CambioDireccion ? u"Desactivado"_s : QString();
        QVERIFY2(control->toolTip() == expected, qPrintable(control->objectName()));
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
