// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make bench`: the panel against bare Qt programs, measured side by side in
// one run on the offscreen platform, printed as one table. Progress goes to
// stderr, the table to stdout.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

#include "actions/panel.h"
#include "actions/panelactions.h"
#include "bytes.h"
#include "childprogram.h"
#include "clock.h"
#include "commands/commandtexts.h"
#include "common/screenframe.h"
#include "connectpanel.h"
#include "floodwriter.h"
#include "link/stationlink.h"
#include "loopbackstation.h"
#include "recordingstation.h"
#include "sliderkit.h"
#include "stallwatch.h"
#include "table.h"
#include "waituntil.h"
#include "window/clicklabel.h"
#include "window/main.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;
using TestKit::monotonicNs;
using TestKit::waitUntil;

namespace {

constexpr std::size_t kStartupPairs = 15;
constexpr int kClicks = 1000;
constexpr int kClickRounds = 5;
constexpr qint64 kFloodBytes = 64 * 1024 * 1024;
constexpr int kFloodRounds = 5;
constexpr int kConnectRounds = 5;

std::vector<Row> g_rows;

// 1. Start-up: the panel against a window with the same controls built from
// stock Qt controls, and against an empty window.

// The same-controls floor's blueprint, which bench-controls-window builds
// back: every control of the panel written down as plain Qt would build it
// (kind, name, box, text, font, colours and start-up state). Pictures,
// painted shapes, network and behaviour are left out, so the floor costs
// what showing the same controls costs and nothing more.
QJsonObject describeFont(const QFont &font)
{
    return {{u"families"_s, QJsonArray::fromStringList(font.families())},
            {u"pointSize"_s, font.pointSizeF()},
            {u"bold"_s, font.bold()}};
}

// The stock class a control is built back as: the first it inherits of
// these, or a plain box.
QString kindOf(const QWidget *control)
{
    for (const char *kind : {"QPushButton", "QLabel", "QLineEdit", "QPlainTextEdit", "QGroupBox", "QSlider"}) {
        if (control->inherits(kind))
            return QLatin1String(kind);
    }
    return u"QWidget"_s;
}

// What a stock control is set up from after it is made, where its kind has
// it; in this order, so that a slider's value comes after its range.
constexpr const char *kSettings[] = {"alignment", "wordWrap",     "readOnly",     "minimum", "maximum",
                                     "pageStep",  "tickInterval", "tickPosition", "value"};

QJsonArray describeChildren(const QWidget *parent);

QJsonObject describe(const QWidget *control)
{
    const QString kind = kindOf(control);
    QJsonObject description = {
            {u"kind"_s, kind},
            {u"name"_s, control->objectName()},
            {u"box"_s, QJsonArray{control->x(), control->y(), control->width(), control->height()}},
            {u"text"_s, TestKit::textOf(control)},
            {u"enabled"_s, control->isEnabled()},
            {u"hidden"_s, control->isHidden()},
            {u"focus"_s, control->window()->focusWidget() == control},
    };
    // Fonts and colours only where the panel sets them: the rest inherit.
    if (control->testAttribute(Qt::WA_SetFont))
        description[u"font"_s] = describeFont(control->font());
    if (control->testAttribute(Qt::WA_SetPalette))
        description[u"textColor"_s] = control->palette().color(QPalette::WindowText).name();
    // A control that draws its own fill (a lamp, an indicator) becomes a
    // plain box filled with the same colour.
    if (control->autoFillBackground() || kind == u"QWidget"_s)
        description[u"background"_s] = control->palette().color(QPalette::Window).name();
    QJsonArray settings;
    for (const char *name : kSettings) {
        if (control->metaObject()->indexOfProperty(name) >= 0)
            settings.append(QJsonArray{QLatin1String(name), control->property(name).toInt()});
    }
    description[u"settings"_s] = settings;
    if (kind == u"QGroupBox"_s)
        description[u"children"_s] = describeChildren(control);
    return description;
}

QJsonArray describeChildren(const QWidget *parent)
{
    QJsonArray children;
    for (const QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"_s))
            children.append(describe(child));
    }
    return children;
}

QJsonObject describeControls(const QWidget *window)
{
    return {{u"title"_s, window->windowTitle()},
            {u"width"_s, window->width()},
            {u"height"_s, window->height()},
            {u"font"_s, describeFont(window->font())},
            {u"controls"_s, describeChildren(window)}};
}

struct StartupFigures
{
    std::vector<double> ms;
    std::vector<double> rssMiB;
};

// Runs a program that marks its first paint (firstpaint.h) to its end: the
// time from its start to the end of that paint, and its peak memory.
void runToFirstPaint(const QString &program, const QStringList &arguments, StartupFigures &figures)
{
    TestKit::ChildProgram child(program, arguments);
    const QByteArray line = child.waitForExit(30'000) == 0 ? child.firstLine() : QByteArray();
    if (line.startsWith("first-paint ")) {
        figures.ms.push_back(double(line.mid(12).toLongLong() - child.startedNs()) / 1e6);
        figures.rssMiB.push_back(child.peakResidentMiB());
    }
}

void addStartupRows(const QString &floorName, const StartupFigures &panel, const StartupFigures &floor,
                    double timeTarget, double rssTarget)
{
    const bool ok = panel.ms.size() == kStartupPairs && floor.ms.size() == kStartupPairs;
    const double time = median(panel.ms), floorTime = median(floor.ms);
    const double rss = median(panel.rssMiB), floorRss = median(floor.rssMiB);
    g_rows.push_back(
            ratioRow(u"Start-up to first paint against %1, median of %2 (ms)"_s.arg(floorName).arg(kStartupPairs), time,
                     floorTime, u"≤ "_s + ratioText(timeTarget), ok && time / floorTime <= timeTarget));
    g_rows.push_back(ratioRow(u"Peak resident memory against %1, median (MiB)"_s.arg(floorName), rss, floorRss,
                              u"≤ "_s + ratioText(rssTarget), ok && rss / floorRss <= rssTarget));
}

// The three take turns, each coming first in turn, so the machine's load
// falls on all three alike.
void measureStartup()
{
    progress("start-up: panel, same-controls window and empty window, taking turns");
    // The panel's controls, written down for the same-controls floor.
    const QString description =
            QDir::temp().filePath(u"panel-bench-controls-%1.json"_s.arg(QCoreApplication::applicationPid()));
    QFile file(description);
    if (Panel panel; file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QJsonDocument(describeControls(&panel.window())).toJson(QJsonDocument::Compact));
    file.close();
    const QString dir = QCoreApplication::applicationDirPath();
    const std::array<std::pair<QString, QStringList>, 3> programs = {{
            {dir + u"/bench-panel-window"_s, {}},
            {dir + u"/bench-controls-window"_s, {description}},
            {dir + u"/bench-bare-window"_s, {}},
    }};
    std::array<StartupFigures, 3> figures;
    // One of each first, so all start from a warm page cache.
    StartupFigures warmUp;
    for (const auto &[path, arguments] : programs)
        runToFirstPaint(path, arguments, warmUp);
    for (std::size_t i = 0; i < kStartupPairs; ++i) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            const std::size_t which = (i + k) % programs.size();
            runToFirstPaint(programs[which].first, programs[which].second, figures[which]);
        }
    }
    file.remove();
    addStartupRows(u"the same controls"_s, figures[0], figures[1], 1.10, 1.10);
    addStartupRows(u"an empty window"_s, figures[0], figures[2], 1.25, 1.15);
}

// The panel connected to a recording station on loopback with the power on,
// and a bare socket connected to the same station for the floor.

class ConnectedPanel
{
public:
    static constexpr int kPanel = 0;
    static constexpr int kBare = 1;

    bool open()
    {
        if (!TestKit::connectPanel(m_panel.window()) || !waitUntil([this] { return m_station.connectionCount() == 1; }))
            return false;
        m_bare.connectToHost(QHostAddress::LocalHost, m_station.port());
        if (!m_bare.waitForConnected(5000) || !waitUntil([this] { return m_station.connectionCount() == 2; }))
            return false;
        std::vector<double> powerOn;
        timeToWire(powerOn, kPanel, Commands::powerOn().size(),
                   [this] { QTest::mouseClick(m_panel.window().Lbl_Go, Qt::LeftButton); });
        m_station.take(kPanel);
        return !powerOn.empty() && m_panel.window().Frm_Loco->isEnabled();
    }

    Main *window() { return &m_panel.window(); }
    QByteArray take(int index) { return m_station.take(index); }
    int lost() const { return m_lost; }

    // Runs `act`, which makes connection `index` send `bytes` more bytes, and
    // adds the microseconds from its start to their arrival to `samples`.
    void timeToWire(std::vector<double> &samples, int index, qsizetype bytes, const std::function<void()> &act)
    {
        m_expected[index] += bytes;
        const qint64 start = monotonicNs();
        act();
        if (m_station.waitForCount(index, m_expected[index]))
            samples.push_back(double(m_station.lastReadNs(index) - start) / 1e3);
        else
            ++m_lost;
    }

    void writeBare(const QByteArray &bytes)
    {
        m_bare.write(bytes);
        m_bare.flush();
    }

private:
    TestKit::RecordingStation m_station;
    Panel m_panel{m_station.port()};
    QTcpSocket m_bare;
    qint64 m_expected[2] = {0, 0};
    int m_lost = 0;
};

// 2. Click to wire

// The machine is shared: a burst of someone else's work lands in one round's
// tail, so each figure is the median over rounds of that round's quantile,
// panel and floor from the same rounds.
using Rounds = std::vector<std::vector<double>>;

double medianOfRounds(const Rounds &rounds, double q)
{
    std::vector<double> perRound;
    perRound.reserve(rounds.size());
    for (const std::vector<double> &samples : rounds)
        perRound.push_back(quantile(samples, q));
    return median(perRound);
}

void addLatencyRows(const QString &what, const Rounds &panel, const Rounds &floor)
{
    g_rows.push_back(ratioRow(what + u", p50 (µs)"_s, medianOfRounds(panel, 0.5), medianOfRounds(floor, 0.5)));
    const double p99 = medianOfRounds(panel, 0.99), floor99 = medianOfRounds(floor, 0.99);
    g_rows.push_back(ratioRow(what + u", p99 (µs)"_s, p99, floor99, u"≤ 2× floor p99"_s, p99 <= 2 * floor99));
}

void measureClickToWire(ConnectedPanel &station)
{
    progress("click to wire: \"Go\" and \"Locomotoras en el circuito\" against a bare socket write");
    Main *w = station.window();
    const QByteArray goCommand = Commands::powerOn().toLatin1(), listCommand = Commands::listLocomotives().toLatin1();
    Rounds goUs(kClickRounds), listUs(kClickRounds), floorUs(kClickRounds);
    QByteArray expectedWire;
    for (int round = 0; round < kClickRounds; ++round) {
        // What a click leaves for later (repaints) happens before each pair;
        // the click and the bare write take turns at coming first after it.
        for (int i = 0; i < 2 * kClicks; ++i) {
            QCoreApplication::processEvents();
            const bool go = i % 4 == 0 || i % 4 == 3;
            QWidget *control = go ? static_cast<QWidget *>(w->Lbl_Go) : w->Pb_Locos_List;
            const QByteArray &command = go ? goCommand : listCommand;
            expectedWire += command;
            auto click = [&] {
                station.timeToWire(go ? goUs[round] : listUs[round], ConnectedPanel::kPanel, command.size(),
                                   [control] { QTest::mouseClick(control, Qt::LeftButton); });
            };
            auto write = [&] {
                station.timeToWire(floorUs[round], ConnectedPanel::kBare, command.size(),
                                   [&] { station.writeBare(command); });
            };
            if (i % 2 == 1)
                write();
            click();
            if (i % 2 == 0)
                write();
        }
    }
    const bool exact = station.take(ConnectedPanel::kPanel) == expectedWire && station.lost() == 0;
    station.take(ConnectedPanel::kBare);
    const QString each = u"%1 clicks, median of %2 rounds"_s.arg(kClicks).arg(kClickRounds);
    addLatencyRows(u"Click \"Go\" to bytes at station, "_s + each, goUs, floorUs);
    addLatencyRows(u"Click list button to bytes at station, "_s + each, listUs, floorUs);
    g_rows.push_back({u"Clicks: every command arrived exactly"_s, yesNo(exact), u"—"_s, u"—"_s, u"all, in order"_s,
                      yesNo(exact)});
}

// 3. Slider sweeps, 0 → 127 → 0

void measureSliderSweep(ConnectedPanel &station, const QString &how, const std::function<void(QSlider *)> &sweep)
{
    Main *w = station.window();
    const QString loco = u"1000"_s;
    w->Txt_Loco_Ad->setText(loco);
    QList<int> expectedSpeeds;
    QByteArray expectedWire;
    for (int step = 1; step <= 254; ++step) {
        expectedSpeeds << (step <= 127 ? step : 254 - step);
        expectedWire += Commands::setSpeed(loco, expectedSpeeds.last()).toLatin1();
    }
    std::vector<double> panelUs, bareUs;
    station.timeToWire(panelUs, ConnectedPanel::kPanel, expectedWire.size(), [&] { sweep(w->Slider_Loco); });
    const QByteArray wire = station.take(ConnectedPanel::kPanel);
    const QList<int> speeds = TestKit::speedsIn(wire, loco.toLatin1());
    const bool exact = wire == expectedWire && speeds == expectedSpeeds && w->Txt_Loco_Speed->text() == u" 0"_s;
    station.timeToWire(bareUs, ConnectedPanel::kBare, expectedWire.size(), [&] {
        for (const int v : expectedSpeeds)
            station.writeBare(Commands::setSpeed(loco, v).toLatin1());
    });
    station.take(ConnectedPanel::kBare);
    QCoreApplication::processEvents();

    const double commands = double(expectedSpeeds.size());
    g_rows.push_back({u"Slider 0→127→0 by %1: commands parsed in order"_s.arg(how),
                      u"%1 of %2"_s.arg(speeds.size()).arg(commands), QString::number(commands), u"—"_s,
                      u"all, in order, exact"_s, yesNo(exact && !panelUs.empty())});
    g_rows.push_back(ratioRow(u"Slider 0→127→0 by %1: time per command (µs)"_s.arg(how), median(panelUs) / commands,
                              median(bareUs) / commands));
}

// 4. Flood: a station's thread sends 64 MiB of list replies as fast as the
// reader takes them.

// A locomotive list of the kind a station sends: short lines with a long one
// now and then that wraps in the output box.
QByteArray floodText()
{
    QByteArray text = "<REPLY queryObjects(10, addr, name)>\n";
    for (int loco = 1000; text.size() < 64 * 1024; ++loco) {
        text += QByteArray::number(loco) + " addr[" + QByteArray::number(loco % 80 + 1) + "] name[\"BR "
                + QByteArray::number(loco % 120) + "\"]\n";
        if (loco % 16 == 0)
            text += QByteArray::number(loco) + " msg[" + QByteArray(180, char('a' + loco % 26)) + "]\n";
    }
    return text;
}

// The output box and strData hold the last chunk read: the stream's tail.
bool showsTail(Main &window, const QByteArray &text)
{
    const QString shown = window.Txt_Out->toPlainText();
    QByteArray tail;
    for (qint64 at = kFloodBytes - shown.size(); at < kFloodBytes; ++at)
        tail += text[at % text.size()];
    return shown == window.strData() && shown.size() <= StationLink::kMaxChunkBytes
            && shown == QString::fromLatin1(tail);
}

struct FloodResult
{
    double mibPerSecond = 0;
    double longestStallMs = 0;
    bool lastChunkShown = false;
    // From the end of the pass that read the last byte to the output box
    // showing it: the box is laid out at most once a frame.
    double shownAfterMs = 0;
};

// The panel, or a bare socket reading in chunks of the same size, as the
// one client of a station that floods it.
FloodResult floodOnce(bool throughPanel)
{
    TestKit::LoopbackStation station;
    std::unique_ptr<Panel> panel;
    QTcpSocket bare;
    qint64 consumed = 0, endNs = 0;
    QEventLoop loop;
    auto consume = [&](qint64 bytes) {
        consumed += bytes;
        if (consumed >= kFloodBytes && endNs == 0) {
            endNs = monotonicNs();
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        }
    };
    if (throughPanel) {
        panel = std::make_unique<Panel>(station.port());
        if (!TestKit::connectPanel(panel->window()))
            return {};
        QObject::connect(&panel->link(), &StationLink::dataArrived, &loop,
                         [&](const QString &, qint64 n) { consume(n); });
    } else {
        bare.connectToHost(QHostAddress::LocalHost, station.port());
        QObject::connect(&bare, &QTcpSocket::readyRead, &loop, [&] {
            while (bare.bytesAvailable() > 0)
                consume(bare.read(StationLink::kMaxChunkBytes).size());
        });
    }
    if (!station.waitForClient())
        return {};
    TestKit::StallWatch watch;
    QTimer::singleShot(180'000, &loop, &QEventLoop::quit);
    watch.start();
    const QByteArray text = floodText();
    const TestKit::FloodWriter writer(int(station.peer()->socketDescriptor()), kFloodBytes, text);
    loop.exec();
    const bool shown = throughPanel && endNs > 0 && waitUntil([&] { return showsTail(panel->window(), text); }, 1000);
    const qint64 shownNs = monotonicNs();
    watch.stop();
    const double seconds = double(endNs - writer.startedNs()) / 1e9;
    return {endNs > 0 ? double(kFloodBytes) / (1024 * 1024) / seconds : 0, watch.longestMs(), shown,
            double(shownNs - endNs) / 1e6};
}

// What a frame of the flood costs the output box: the window showing a
// 64 KiB chunk of the list after a quiet moment, against the same box given
// the same text as it came. Two chunks take turns, so each replaces the other.
void measureFrameLayout()
{
    Main window;
    window.show();
    const QByteArray text = floodText();
    const std::array chunks{QString::fromLatin1(text.left(StationLink::kMaxChunkBytes)),
                            QString::fromLatin1(text.right(StationLink::kMaxChunkBytes))};
    std::vector<double> shownMs, givenMs;
    for (int round = 0; round < 16; ++round) {
        const qint64 start = monotonicNs();
        window.showReceived(chunks[round % 2]);
        const qint64 shown = monotonicNs();
        window.Txt_Out->setPlainText(chunks[(round + 1) % 2]);
        givenMs.push_back(double(monotonicNs() - shown) / 1e6);
        shownMs.push_back(double(shown - start) / 1e6);
        // A quiet moment: the next reply is laid out at once.
        QTest::qWait(kScreenFrameMs + 1);
    }
    g_rows.push_back({u"Flood: one frame's layout of a 64 KiB chunk, median (slowest–fastest) of 16 (ms)"_s,
                      withSpread(shownMs), withSpread(givenMs), ratioText(median(shownMs) / median(givenMs)),
                      u"≤ 0.50×"_s, yesNo(median(shownMs) <= 0.5 * median(givenMs))});
}

void measureFlood()
{
    progress("flood: 64 MiB through the panel and through a bare socket, alternately");
    std::vector<double> panelRate, bareRate, roundRatio, panelStall, bareStall;
    bool shown = true;
    for (int round = 0; round < kFloodRounds; ++round) {
        const FloodResult bare = floodOnce(false);
        const FloodResult panel = floodOnce(true);
        bareRate.push_back(bare.mibPerSecond);
        bareStall.push_back(bare.longestStallMs);
        panelRate.push_back(panel.mibPerSecond);
        roundRatio.push_back(bare.mibPerSecond / panel.mibPerSecond);
        panelStall.push_back(panel.longestStallMs);
        shown = shown && panel.lastChunkShown;
        progress(QString::asprintf("  round %d: panel %.1f MiB/s, stall %.1f ms, last chunk shown %.1f ms after; "
                                   "bare %.1f MiB/s, stall %.1f ms",
                                   round + 1, panel.mibPerSecond, panel.longestStallMs, panel.shownAfterMs,
                                   bare.mibPerSecond, bare.longestStallMs));
    }
    // A ratio read without the bare reader's own speed, or without how far
    // the rounds spread, says little: the row gives both.
    const double rateRatio = median(bareRate) / median(panelRate);
    const auto [fewest, most] = std::ranges::minmax(roundRatio);
    g_rows.push_back({u"Flood 64 MiB: throughput, median (slowest–fastest) of %1 (MiB/s)"_s.arg(kFloodRounds),
                      withSpread(panelRate), withSpread(bareRate),
                      ratioText(rateRatio) + u" slower ("_s + ratioText(fewest) + u"–"_s + ratioText(most) + u')',
                      u"≤ 1.25× slower"_s, yesNo(rateRatio <= 1.25)});
    g_rows.push_back({u"Flood 64 MiB: longest event-loop stall, worst (ms)"_s, number(std::ranges::max(panelStall)),
                      number(std::ranges::max(bareStall)), u"—"_s, u"≤ 10 ms"_s,
                      yesNo(std::ranges::max(panelStall) <= 10)});
    measureFrameLayout();
    g_rows.push_back({u"Flood 64 MiB: output box shows the last chunk"_s, yesNo(shown), u"—"_s, u"—"_s, u"always"_s,
                      yesNo(shown)});
}

// 5. Connect: the press of "Conectar CS" to the answer in the output box,
// and the longest stall of the event loop meanwhile.

// Presses "Conectar CS" with the panel's station at `port`, and adds the
// milliseconds to the answer and the longest stall meanwhile to `ms` and
// `stalls`; false unless the answer is `expected`.
bool connectOnce(quint16 port, const QString &expected, std::vector<double> &ms, std::vector<double> &stalls)
{
    Panel panel(port);
    Main &window = panel.window();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.Txt_IP->setText(u"127.0.0.1"_s);
    TestKit::StallWatch watch;
    watch.start();
    const TestKit::ConnectAnswer answer = TestKit::pressConnect(window, 3000);
    watch.stop();
    ms.push_back(answer.ms);
    stalls.push_back(watch.longestMs());
    return answer.text == expected;
}

void addConnectRow(const QString &text, const std::vector<double> &ms, bool answered)
{
    const bool within = std::ranges::min(ms) >= 509.5 && std::ranges::max(ms) <= 530;
    g_rows.push_back(ratioRow(u"Connect to \"%1\", median of %2 (ms)"_s.arg(text).arg(kConnectRounds), median(ms),
                              StationLink::kConnectWaitMs, u"510–530 ms, every run"_s, answered && within));
}

void measureConnect()
{
    progress("connect: to a listening station and to a closed port");
    const TestKit::LoopbackStation listening;
    // A port that was free a moment ago, with nothing listening on it now.
    const quint16 closedPort = TestKit::LoopbackStation().port();
    std::vector<double> connectedMs, refusedMs, stalls;
    bool answered = true;
    for (int i = 0; i < kConnectRounds; ++i) {
        answered = connectOnce(listening.port(), PanelActions::kConnected, connectedMs, stalls) && answered;
        answered = connectOnce(closedPort, PanelActions::kNotFound, refusedMs, stalls) && answered;
    }
    addConnectRow(PanelActions::kConnected, connectedMs, answered);
    addConnectRow(PanelActions::kNotFound, refusedMs, answered);
    g_rows.push_back({u"Connect: longest event-loop stall during the wait (ms)"_s, number(std::ranges::max(stalls)),
                      u"—"_s, u"—"_s, u"≤ 20 ms"_s, yesNo(std::ranges::max(stalls) <= 20)});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Naming phases (startup, clicks, flood, connect) runs only those, for
    // profiling one at a time; no argument runs them all.
    const QStringList chosen = app.arguments().mid(1);
    auto wanted = [&chosen](const char *phase) { return chosen.isEmpty() || chosen.contains(QLatin1String(phase)); };
    if (wanted("startup"))
        measureStartup();
    if (wanted("clicks")) {
        ConnectedPanel station;
        if (!station.open()) {
            progress("the panel did not connect to the loopback station");
            return 1;
        }
        measureClickToWire(station);
        progress("slider sweeps: keyboard and drag");
        measureSliderSweep(station, u"keyboard"_s, [](QSlider *slider) {
            slider->setFocus();
            for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left}) {
                for (int i = 0; i < 127; ++i)
                    QTest::keyClick(slider, key);
            }
        });
        measureSliderSweep(station, u"drag"_s, [](QSlider *slider) { TestKit::dragSlider(slider, {127, 0}); });
    }
    if (wanted("flood"))
        measureFlood();
    if (wanted("connect"))
        measureConnect();
    printTable(g_rows, u"Panel"_s, u"Baseline"_s);
    return 0;
}
