// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The railway's window as it watches a server driven over loopback: what it
// shows after each command, what a screen reader reads and the keyboard
// reaches, its layout at any size, and the program opening it or not.

#include "stationserver.h"
#include "view/railwayview.h"
#include "view/simulatorlaunch.h"

#include <QAccessible>
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTransform>

#include "simulatorprocess.h"
#include "waituntil.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;
using TestKit::RecordingClient;

namespace {

// Stand for the first client leaving, and for the second client sending the
// commands after it, in place of a command. Both are connected throughout.
const QByteArray kLeave = "<leave>";
const QByteArray kSecond = "<second>";

// A change shows a frame after it; a second is room for a busy machine, and
// no more, as every row waits that long when nothing is shown.
constexpr int kShownMs = 1000;

// The pictures' own colours: a lit function mark amber, a lit lamp green.
const QColor kAmber(240, 180, 0);
const QColor kGreen(40, 200, 60);

// Where a cell's pixels of `colour` (invalid: any but grey) lie, in shares of
// the cell: the box around them (empty when there are none), their centre.
std::pair<QRectF, QPointF> inkIn(QTableView *table, int row, int column, const QColor &colour)
{
    const QImage image = table->viewport()->grab(table->visualRect(table->model()->index(row, column))).toImage();
    QRectF box;
    QPointF sum;
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (colour.isValid() ? pixel == colour : pixel.hsvSaturation() > 0)
                box |= QRectF(x, y, 1, 1), sum += QPointF(x, y), ++inked;
        }
    }
    const QTransform share = QTransform::fromScale(1.0 / image.width(), 1.0 / image.height());
    return {share.mapRect(box), share.map(sum / qMax(inked, 1))};
}

// What a part shows: the power lamp's state as a screen reader reads it; a
// table's cell as a screen reader reads it and its picture shows it: how far
// the speed bar's colour reaches, in tenths of the bar; which way the
// direction arrow, fuller at its head, points; which rows of function marks
// hold lit ones; whether the state's lamp is lit.
QString shownIn(QWidget *part, int row, int column)
{
    QAccessibleTableInterface *cells = QAccessible::queryAccessibleInterface(part)->tableInterface();
    if (!cells)
        return QAccessible::queryAccessibleInterface(part)->text(QAccessible::Value);
    QAccessibleInterface *cell = cells->cellAt(row, column);
    if (!cell)
        return QString();
    auto *table = static_cast<QTableView *>(part);
    const QString text = cell->text(QAccessible::Name);
    if (table->accessibleName() == u"Accessories"_s && column == RailwayView::AccessoryState)
        return text + (inkIn(table, row, column, kGreen).first.isEmpty() ? u" dark"_s : u" lit"_s);
    if (table->accessibleName() != u"Locomotives"_s)
        return text;
    switch (column) {
    case RailwayView::LocoSpeed: {
        const QRectF bar = inkIn(table, row, column, QColor()).first;
        return text + u" bar %1"_s.arg(qRound(10 * bar.width() / (1 - 2 * bar.left())));
    }
    case RailwayView::LocoDirection: {
        const QPointF centre = inkIn(table, row, column, table->palette().color(QPalette::Text)).second;
        return text + (centre.x() > 0.5 ? u" pointing right"_s : u" pointing left"_s);
    }
    case RailwayView::LocoFunctions: {
        const QRectF marks = inkIn(table, row, column, kAmber).first;
        const int lit = (!marks.isEmpty() && marks.top() < 0.5) + 2 * (marks.bottom() > 0.5);
        return text + QStringList{u" all dark"_s, u" lit above"_s, u" lit below"_s, u" lit in both"_s}[lit];
    }
    }
    return text;
}

} // namespace

class TestRailwayView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showsWhatCommandsDid_data();
    void showsWhatCommandsDid();
    void readsOutAndTabs_data();
    void readsOutAndTabs();
    void fitsAnySize_data();
    void fitsAnySize();
    void programWithView_data();
    void programWithView();
    void refusalShowsInABox_data();
    void refusalShowsInABox();

private:
    QList<QWidget *> parts() const;

    std::unique_ptr<StationServer> m_server;
    std::unique_ptr<RailwayView> m_view;
};

void TestRailwayView::init()
{
    m_view.reset();
    m_server = std::make_unique<StationServer>();
    QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    m_view = std::make_unique<RailwayView>(*m_server);
    m_view->resize(m_view->sizeHint());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QVERIFY(!parts().contains(nullptr));
}

// The lamp and the three tables, by the names a screen reader reads, in
// their tab order.
QList<QWidget *> TestRailwayView::parts() const
{
    return TestKit::partsNamed(*m_view, {u"Track power"_s, u"Locomotives"_s, u"Accessories"_s, u"Clients"_s});
}

void TestRailwayView::showsWhatCommandsDid_data()
{
    QTest::addColumn<QByteArrayList>("commands");
    // 0: the power lamp, 1 to 3: the tables.
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    // %1, %2: the first and the second client's address and port.
    QTest::addColumn<QString>("expected");

    const QByteArray take = "request(1000, control)";
    const auto row = [](const char *name, const QByteArrayList &commands, int part, int row, int column,
                        const QString &expected) {
        QTest::newRow(name) << commands << part << row << column << expected;
    };
    row("power off at start", {}, 0, 0, 0, u"off"_s);
    row("power on", {"set(1, go)"}, 0, 0, 0, u"on"_s);
    row("full speed", {take, "set(1000, speed[127])"}, 1, 0, RailwayView::LocoSpeed, u"127 bar 10"_s);
    row("forward at start", {}, 1, 0, RailwayView::LocoDirection, u"forward pointing right"_s);
    row("functions off at start", {}, 1, 0, RailwayView::LocoFunctions, u"none all dark"_s);
    row("accessory off at start", {}, 2, 0, RailwayView::AccessoryState, u"0 dark"_s);
    row("locomotive taken", {take}, 1, 0, RailwayView::LocoController, u"%1"_s);
    row("speed 42", {take, "set(1000, speed[42])"}, 1, 0, RailwayView::LocoSpeed, u"42 bar 3"_s);
    row("refused speed", {"set(1000, speed[42])"}, 1, 0, RailwayView::LocoSpeed, u"0 bar 0"_s);
    row("backward", {"request(1003, control)", "set(1003, dir[1])"}, 1, 3, RailwayView::LocoDirection,
        u"backward pointing left"_s);
    row("function 3 on", {take, "set(1000, func[3, 1])"}, 1, 0, RailwayView::LocoFunctions, u"3 lit above"_s);
    row("first and last function", {take, "set(1000, func[31, 1], func[0, 1])"}, 1, 0, RailwayView::LocoFunctions,
        u"0, 31 lit in both"_s);
    row("accessory switched", {"request(20001, control)", "set(20001, state[1])"}, 2, 1, RailwayView::AccessoryState,
        u"1 lit"_s);
    row("accessory taken", {"request(20002, control)"}, 2, 2, RailwayView::AccessoryController, u"%1"_s);
    row("released", {take, "release(1000, control)"}, 1, 0, RailwayView::LocoController, u"nobody"_s);
    row("what a client holds", {"request(20000, control)", take}, 3, 0, RailwayView::ClientHolds,
        u"locomotive 1000, accessory 20000"_s);
    row("client gone", {kLeave}, 3, 0, RailwayView::ClientPeer, u"%2"_s);
    row("what it held is free", {take, kLeave}, 1, 0, RailwayView::LocoController, u"nobody"_s);
    const QByteArrayList two = {take, kSecond, "request(1001, control)"};
    row("each named as its controller", two, 1, 1, RailwayView::LocoController, u"%2"_s);
    row("the first gone, the second's kept", two + QByteArrayList{kLeave}, 1, 1, RailwayView::LocoController, u"%2"_s);
}

void TestRailwayView::showsWhatCommandsDid()
{
    QFETCH(QByteArrayList, commands);
    QFETCH(int, part);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, expected);

    RecordingClient first(m_server->serverPort());
    RecordingClient second(m_server->serverPort());
    const auto peer = [](const RecordingClient &c) { return u"127.0.0.1:%1"_s.arg(c.socket.localPort()); };
    // Both shown before anything else happens.
    QVERIFY(TestKit::waitUntil([&] { return shownIn(parts()[3], 1, RailwayView::ClientPeer) == peer(second); },
                               kShownMs));
    QSignalSpy left(m_server.get(), &StationServer::clientLeft);
    RecordingClient *client = &first;
    for (const QByteArray &command : commands) {
        const qsizetype replies = client->replyCount();
        if (command == kSecond)
            client = &second;
        else if (command == kLeave)
            first.socket.disconnectFromHost();
        else
            client->socket.write(command);
        QTRY_VERIFY(command == kSecond || client->replyCount() > replies || !left.isEmpty());
    }
    expected.replace(u"%1"_s, peer(first)).replace(u"%2"_s, peer(second));
    TestKit::waitUntil([&] { return shownIn(parts()[part], row, column) == expected; }, kShownMs);
    QCOMPARE(shownIn(parts()[part], row, column), expected);
}

void TestRailwayView::readsOutAndTabs_data()
{
    // The parts in their tab order, from 0.
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");

    QTest::newRow("power lamp") << 0 << int(QAccessible::StaticText) << u"Track power"_s;
    QTest::newRow("locomotives") << 1 << int(QAccessible::Table) << u"Locomotives"_s;
    QTest::newRow("accessories") << 2 << int(QAccessible::Table) << u"Accessories"_s;
    QTest::newRow("clients") << 3 << int(QAccessible::Table) << u"Clients"_s;
}

// The cells are read out as the commands' table shows. Tab reaches every
// part in turn.
void TestRailwayView::readsOutAndTabs()
{
    QFETCH(int, part);
    QFETCH(int, role);
    QFETCH(QString, name);

    const QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(parts()[part]);
    QCOMPARE(int(shown->role()), role);
    QCOMPARE(shown->text(QAccessible::Name), name);
    // From the last part, Tab goes round to the first.
    parts()[3]->setFocus(Qt::TabFocusReason);
    for (int tab = 0; tab <= part; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), parts()[part]);
}

void TestRailwayView::fitsAnySize_data()
{
    // An invalid size: the window's own.
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("fontScale");

    QTest::newRow("its own size") << QSize() << 1.0;
    QTest::newRow("squeezed") << QSize(200, 150) << 1.0;
    QTest::newRow("large") << QSize(1600, 1200) << 1.0;
    QTest::newRow("large font") << QSize() << 2.0;
}

// Every part inside the window, none over another, the marks of the
// functions never cut.
void TestRailwayView::fitsAnySize()
{
    QFETCH(QSize, size);
    QFETCH(qreal, fontScale);

    QFont font = m_view->font();
    font.setPointSizeF(font.pointSizeF() * fontScale);
    m_view->setFont(font);
    m_view->resize(size.isValid() ? size : m_view->sizeHint());
    QApplication::processEvents();
    QList<QRect> placed;
    for (const QWidget *part : parts()) {
        const QRect at(part->mapTo(m_view.get(), QPoint(0, 0)), part->size());
        QVERIFY2(m_view->rect().contains(at), qPrintable(part->accessibleName()));
        for (const QRect &other : placed)
            QVERIFY2(!at.intersects(other), qPrintable(part->accessibleName()));
        placed.append(at);
    }
    const auto *locomotives = static_cast<QTableView *>(parts()[1]);
    QStyleOptionViewItem option;
    option.initFrom(locomotives);
    const QModelIndex marks = locomotives->model()->index(0, RailwayView::LocoFunctions);
    const QSize wanted = locomotives->itemDelegateForIndex(marks)->sizeHint(option, marks);
    QVERIFY(locomotives->rowHeight(0) >= wanted.height());
}

void TestRailwayView::programWithView_data()
{
    QTest::addColumn<QString>("platform");
    // What it prints on its error output and ends with; -1: it serves.
    QTest::addColumn<QByteArray>("errors");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("offscreen display") << u"offscreen"_s << QByteArray() << -1;
    QTest::newRow("no display") << QString()
                                << QByteArray("command-station-simulator: cannot open a display, neither DISPLAY "
                                              "nor WAYLAND_DISPLAY is set; without a display, run it as: xvfb-run -a "
                                              "command-station-simulator --view, or leave out --view\n")
                                << 1;
}

void TestRailwayView::programWithView()
{
    QFETCH(QString, platform);
    QFETCH(QByteArray, errors);
    QFETCH(int, exitCode);

    QProcessEnvironment environment = TestKit::environmentWithoutDisplay();
    if (!platform.isEmpty())
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    TestKit::ChildProgram program(TestKit::SimulatorProcess::executable(), {u"--view"_s, u"--port"_s, u"0"_s},
                                  TestKit::ChildProgram::Console::Keep, environment);
    const quint16 port = program.waitForPort();
    if (exitCode >= 0) {
        QCOMPARE(program.waitForExit(), exitCode);
        QCOMPARE(program.errors(), errors);
        return;
    }
    RecordingClient client(port);
    client.socket.write("set(1, go)");
    QTRY_COMPARE(client.replyCount(), 1);
    QVERIFY(program.stop());
}

void TestRailwayView::refusalShowsInABox_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    // What the box says; empty: no box.
    QTest::addColumn<QString>("box");

    // "busy" stands for the port the test's own server holds.
    QTest::newRow("window, port taken") << QStringList{u"--view"_s, u"--port"_s, u"busy"_s} << 1
                                        << u"Cannot listen on 127.0.0.1 port busy: "_s;
    QTest::newRow("window, layout unreadable")
            << QStringList{u"--view"_s, u"--port"_s, u"0"_s, u"--layout"_s, u"/nonexistent/railway.json"_s} << 2
            << u"Layout file /nonexistent/railway.json: cannot be read: "_s;
    QTest::newRow("console, port taken") << QStringList{u"--port"_s, u"busy"_s} << 1 << QString();
}

void TestRailwayView::refusalShowsInABox()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, box);

    const QString busy = QString::number(m_server->serverPort());
    arguments.replaceInStrings(u"busy"_s, busy);
    QCommandLineParser parser;
    SimulatorOptions::addTo(parser);
    QVERIFY(parser.parse(QStringList{u"command-station-simulator"_s} + arguments));
    QString shown;
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        if (auto *open = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = open->text();
            open->accept();
        }
        answered = true;
    });
    SimulatorLaunch launch;
    QCOMPARE(launch.start(parser, arguments.contains(u"--view"_s)), exitCode);
    QTRY_VERIFY(answered);
    box.replace(u"busy"_s, busy);
    QCOMPARE(box.isEmpty() ? shown : shown.left(box.size()), box);
}

QTEST_MAIN(TestRailwayView)
#include "tst_railwayview.moc"
