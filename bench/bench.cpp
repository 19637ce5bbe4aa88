// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make bench`: the panel against bare Qt programs, measured side by side in
// one run on the offscreen platform, printed as one table. Progress goes to
// stderr, the table to stdout.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "actions/panel.h"
#include "actions/panelactions.h"
#include "commands/commandtexts.h"
#include "controlsdescription.h"
#include "firstpaint.h"
#include "floodstation.h"
#include "link/memorypolicy.h"
#include "link/stationlink.h"
#include "loopbacksink.h"
#include "startup.h"
#include "stallwatch.h"
#include "stats.h"
#include "table.h"
#include "window/clicklabel.h"
#include "window/main.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kStartupPairs = 15;
constexpr int kClicks = 1000;
constexpr int kClickRounds = 5;
constexpr qint64 kFloodBytes = 64 * 1024 * 1024;
constexpr int kFloodRounds = 3;
constexpr int kConnectRounds = 5;
constexpr double kMiB = 1024.0 * 1024.0;

std::vector<Row> g_rows;

void progress(const char *what)
{
    std::fprintf(stderr, "bench: %s\n", what);
}

double sinceUs(qint64 startNs, qint64 endNs)
{
    return double(endNs - startNs) / 1e3;
}

// Runs the event loop until `done` holds or `timeoutMs` passes.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    return QTest::qWaitFor(done, timeoutMs);
}

// ---------------------------------------------------------------------------
// 1. Start-up

// Writes down the panel's controls for the same-controls floor to rebuild.
QString writeControlsDescription()
{
    Panel panel;
    QString path = QDir::temp().filePath(
            QStringLiteral("panel-bench-controls-%1.json").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(QJsonDocument(describeControls(&panel.window())).toJson(QJsonDocument::Compact));
    return path;
}

struct StartupFigures
{
    std::vector<double> ms;
    std::vector<double> rssMiB;
    int failures = 0;
};

void addStartupRows(const QString &floorName, const StartupFigures &panel, const StartupFigures &floor,
                    double timeTarget, double rssTarget)
{
    const bool ok = panel.failures == 0 && floor.failures == 0;
    const double timeRatio = median(panel.ms) / median(floor.ms);
    const double rssRatio = median(panel.rssMiB) / median(floor.rssMiB);
    g_rows.push_back(
            {QStringLiteral("Start-up to first paint against %1, median of %2 (ms)").arg(floorName).arg(kStartupPairs),
             number(median(panel.ms)), number(median(floor.ms)), ratioText(timeRatio), u"≤ "_s + ratioText(timeTarget),
             yesNo(ok && timeRatio <= timeTarget)});
    g_rows.push_back({QStringLiteral("Peak resident memory against %1, median (MiB)").arg(floorName),
                      number(median(panel.rssMiB)), number(median(floor.rssMiB)), ratioText(rssRatio),
                      u"≤ "_s + ratioText(rssTarget), yesNo(ok && rssRatio <= rssTarget)});
}

// The panel against two floors: a window with the same controls built from
// stock Qt controls, and an empty window. The three take turns, each coming
// first in turn, so the machine's load falls on all three alike.
void measureStartup()
{
    progress("start-up: panel, same-controls window and empty window, taking turns");
    const QString dir = QCoreApplication::applicationDirPath();
    const QString description = writeControlsDescription();
    struct Program
    {
        QString path;
        QStringList arguments;
        StartupFigures figures;
    };
    std::array<Program, 3> programs = {{
            {dir + QStringLiteral("/bench-panel-window"), {}, {}},
            {dir + QStringLiteral("/bench-controls-window"), {description}, {}},
            {dir + QStringLiteral("/bench-bare-window"), {}, {}},
    }};
    // One of each first, so all start from a warm page cache.
    for (const Program &program : programs)
        runToFirstPaint(program.path, program.arguments);

    for (int i = 0; i < kStartupPairs; ++i) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program &program = programs[(std::size_t(i) + k) % programs.size()];
            const StartupSample sample = runToFirstPaint(program.path, program.arguments);
            if (!sample.ok) {
                ++program.figures.failures;
                continue;
            }
            program.figures.ms.push_back(sample.toFirstPaintMs);
            program.figures.rssMiB.push_back(sample.peakRssMiB);
        }
    }
    QFile::remove(description);
    addStartupRows(u"the same controls"_s, programs[0].figures, programs[1].figures, 1.10, 1.10);
    addStartupRows(u"an empty window"_s, programs[0].figures, programs[2].figures, 1.25, 1.15);
}

// ---------------------------------------------------------------------------
// The panel connected to a listening station on loopback with the power on,
// and a bare socket connected to the same station for the floor.

class ConnectedPanel
{
public:
    static constexpr int kPanel = 0;
    static constexpr int kBare = 1;

    bool open()
    {
        m_panel = std::make_unique<Panel>(m_sink.port());
        Main *w = window();
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return false;
        w->Txt_IP->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(w->Pb_Connect, Qt::LeftButton);
        runUntil([this] { return !link()->isAttemptRunning(); }, 3000);
        if (w->Txt_Out->toPlainText() != PanelActions::kConnected)
            return false;
        if (!runUntil([this] { return m_sink.connectionCount() == 1; }, 2000))
            return false;
        m_bare.connectToHost(QHostAddress::LocalHost, m_sink.port());
        if (!runUntil(
                    [this] {
                        return m_bare.state() == QAbstractSocket::ConnectedState && m_sink.connectionCount() == 2;
                    },
                    2000))
            return false;
        QTest::mouseClick(w->Lbl_Go, Qt::LeftButton);
        m_expected[kPanel] = Commands::powerOn().size();
        const bool powered = m_sink.waitForCount(kPanel, m_expected[kPanel]);
        m_sink.take(kPanel);
        return powered && w->Frm_Loco->isEnabled();
    }

    Main *window() const { return &m_panel->window(); }
    StationLink *link() const { return &m_panel->link(); }
    LoopbackSink &sink() { return m_sink; }

    // Runs `act`, which makes connection `index` send `bytes` more bytes, and
    // returns the microseconds from its start to their arrival (-1 if lost).
    double timeToWire(int index, qsizetype bytes, const std::function<void()> &act)
    {
        m_expected[index] += bytes;
        const qint64 start = monotonicNanoseconds();
        act();
        if (!m_sink.waitForCount(index, m_expected[index]))
            return -1;
        return sinceUs(start, m_sink.lastArrivalNs(index));
    }

    void writeBare(const QByteArray &bytes)
    {
        m_bare.write(bytes);
        m_bare.flush();
    }

private:
    LoopbackSink m_sink;
    std::unique_ptr<Panel> m_panel;
    QTcpSocket m_bare;
    qint64 m_expected[2] = {0, 0};
};

// ---------------------------------------------------------------------------
// 2. Click to wire

// The machine is shared: a burst of someone else's work lands in one round's
// tail, so each figure is the median over rounds of that round's quantile,
// panel and floor from the same rounds.
using Rounds = std::vector<std::vector<double>>;

double medianOfRounds(const Rounds &rounds, double q)
{
    std::vector<double> perRound;
    for (const std::vector<double> &samples : rounds)
        perRound.push_back(quantile(samples, q));
    return median(perRound);
}

void addLatencyRows(const QString &what, const Rounds &panel, const Rounds &floor)
{
    const double p50 = medianOfRounds(panel, 0.5), floor50 = medianOfRounds(floor, 0.5);
    const double p99 = medianOfRounds(panel, 0.99), floor99 = medianOfRounds(floor, 0.99);
    g_rows.push_back({what + u", p50 (µs)"_s, number(p50), number(floor50), ratioText(p50 / floor50), u"—"_s, u"—"_s});
    g_rows.push_back({what + u", p99 (µs)"_s, number(p99), number(floor99), ratioText(p99 / floor99),
                      u"≤ 2× floor p99"_s, yesNo(p99 <= 2 * floor99)});
}

void measureClickToWire(ConnectedPanel &station)
{
    progress("click to wire: \"Go\" and \"Locomotoras en el circuito\" against a bare socket write");
    Main *w = station.window();
    const QByteArray goCommand = Commands::powerOn().toLatin1();
    const QByteArray listCommand = Commands::listLocomotives().toLatin1();
    Rounds goUs(kClickRounds), listUs(kClickRounds), floorUs(kClickRounds);
    int lost = 0;
    auto keep = [&lost](std::vector<double> &samples, double us) {
        if (us < 0)
            ++lost;
        else
            samples.push_back(us);
    };
    QByteArray expectedWire;
    for (int round = 0; round < kClickRounds; ++round) {
        auto click = [&](std::vector<double> &samples, QWidget *control, const QByteArray &command) {
            keep(samples, station.timeToWire(ConnectedPanel::kPanel, command.size(), [control] {
                QTest::mouseClick(control, Qt::LeftButton);
            }));
            expectedWire += command;
        };
        auto write = [&](const QByteArray &command) {
            keep(floorUs[round],
                 station.timeToWire(ConnectedPanel::kBare, command.size(), [&] { station.writeBare(command); }));
        };
        // What a click leaves for later (repaints) happens before each pair;
        // the click and the bare write take turns at coming first after it.
        for (int i = 0; i < 2 * kClicks; ++i) {
            QCoreApplication::processEvents();
            const bool go = i % 4 == 0 || i % 4 == 3;
            std::vector<double> &samples = go ? goUs[round] : listUs[round];
            QWidget *control = go ? static_cast<QWidget *>(w->Lbl_Go) : w->Pb_Locos_List;
            const QByteArray &command = go ? goCommand : listCommand;
            if (i % 2 == 0) {
                click(samples, control, command);
                write(command);
            } else {
                write(command);
                click(samples, control, command);
            }
        }
    }
    const QByteArray panelWire = station.sink().take(ConnectedPanel::kPanel);
    station.sink().take(ConnectedPanel::kBare);
    const bool exact = panelWire == expectedWire;
    const QString each = QStringLiteral("%1 clicks, median of %2 rounds").arg(kClicks).arg(kClickRounds);
    addLatencyRows(u"Click \"Go\" to bytes at station, "_s + each, goUs, floorUs);
    addLatencyRows(u"Click list button to bytes at station, "_s + each, listUs, floorUs);
    g_rows.push_back({u"Clicks: every command arrived exactly"_s, exact && lost == 0 ? u"yes"_s : u"NO"_s, u"—"_s,
                      u"—"_s, u"all, in order"_s, yesNo(exact && lost == 0)});
}

// ---------------------------------------------------------------------------
// 3. Slider sweeps

QRect handleRect(QSlider *slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.subControls = QStyle::SC_SliderHandle;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

void sendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void keyboardSweep(QSlider *slider)
{
    slider->setFocus();
    for (int i = 0; i < 127; ++i)
        QTest::keyClick(slider, Qt::Key_Right);
    for (int i = 0; i < 127; ++i)
        QTest::keyClick(slider, Qt::Key_Left);
}

// Drags the handle a pixel at a time to the right end and back.
void dragSweep(QSlider *slider)
{
    const QPoint start = handleRect(slider).center();
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
    int x = start.x();
    while (slider->value() < slider->maximum() && x < slider->width() + 50)
        sendMouse(slider, QEvent::MouseMove, QPoint(++x, start.y()), Qt::LeftButton);
    while (slider->value() > slider->minimum() && x > -50)
        sendMouse(slider, QEvent::MouseMove, QPoint(--x, start.y()), Qt::LeftButton);
    sendMouse(slider, QEvent::MouseButtonRelease, QPoint(x, start.y()), Qt::NoButton);
}

QList<int> speedsIn(const QByteArray &wire, const QString &loco)
{
    QList<int> speeds;
    const QRegularExpression command(
            QStringLiteral("set\\(%1, speed\\[(\\d+)\\]\\)").arg(QRegularExpression::escape(loco)));
    for (auto it = command.globalMatch(QString::fromLatin1(wire)); it.hasNext();)
        speeds << it.next().captured(1).toInt();
    return speeds;
}

void measureSliderSweep(ConnectedPanel &station, const QString &how, const std::function<void(QSlider *)> &sweep)
{
    Main *w = station.window();
    const QString loco = QStringLiteral("1000");
    w->Txt_Loco_Ad->setText(loco);
    QList<int> expectedSpeeds;
    QByteArray expectedWire;
    for (int v = 1; v <= 127; ++v)
        expectedSpeeds << v;
    for (int v = 126; v >= 0; --v)
        expectedSpeeds << v;
    for (int v : expectedSpeeds)
        expectedWire += Commands::setSpeed(loco, v).toLatin1();
    const qsizetype commands = expectedSpeeds.size();

    const double panelUs =
            station.timeToWire(ConnectedPanel::kPanel, expectedWire.size(), [&] { sweep(w->Slider_Loco); });
    const QByteArray wire = station.sink().take(ConnectedPanel::kPanel);
    const QList<int> speeds = speedsIn(wire, loco);
    const bool exact =
            wire == expectedWire && speeds == expectedSpeeds && w->Txt_Loco_Speed->text() == QStringLiteral(" 0");

    const double bareUs = station.timeToWire(ConnectedPanel::kBare, expectedWire.size(), [&] {
        for (int v : expectedSpeeds)
            station.writeBare(Commands::setSpeed(loco, v).toLatin1());
    });
    station.sink().take(ConnectedPanel::kBare);
    QCoreApplication::processEvents();

    const double perPanel = panelUs / double(commands), perBare = bareUs / double(commands);
    g_rows.push_back({QStringLiteral("Slider 0→127→0 by %1: commands parsed in order").arg(how),
                      QStringLiteral("%1 of %2").arg(speeds.size()).arg(commands), QString::number(commands), u"—"_s,
                      u"all, in order, exact"_s, yesNo(exact && panelUs >= 0)});
    g_rows.push_back({QStringLiteral("Slider 0→127→0 by %1: time per command (µs)").arg(how), number(perPanel),
                      number(perBare), ratioText(perPanel / perBare), u"—"_s, u"—"_s});
}

// ---------------------------------------------------------------------------
// 4. Flood

struct FloodResult
{
    double mibPerSecond = 0;
    double longestStallMs = 0;
    bool lastChunkShown = false;
};

FloodResult floodOnce(bool throughPanel)
{
    FloodStation station(kFloodBytes);
    std::unique_ptr<Panel> panel;
    Main *window = nullptr;
    QTcpSocket bare;
    qint64 consumed = 0;
    qint64 endNs = 0;
    QEventLoop loop;
    auto finishWhenAllIn = [&] {
        if (consumed >= kFloodBytes && endNs == 0)
            QMetaObject::invokeMethod(
                    &loop,
                    [&] {
                        endNs = monotonicNanoseconds();
                        loop.quit();
                    },
                    Qt::QueuedConnection);
    };

    if (throughPanel) {
        panel = std::make_unique<Panel>(station.port());
        window = &panel->window();
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return {};
        auto *link = &panel->link();
        window->Txt_IP->setText(QStringLiteral("127.0.0.1"));
        QTest::mouseClick(window->Pb_Connect, Qt::LeftButton);
        runUntil([&] { return !link->isAttemptRunning(); }, 3000);
        QObject::connect(link, &StationLink::dataArrived, &loop, [&](const QString &, qint64 byteCount) {
            consumed += byteCount;
            finishWhenAllIn();
        });
    } else {
        bare.connectToHost(QHostAddress::LocalHost, station.port());
        QObject::connect(&bare, &QTcpSocket::readyRead, &loop, [&] {
            while (bare.bytesAvailable() > 0)
                consumed += bare.read(StationLink::kMaxChunkBytes).size();
            finishWhenAllIn();
        });
    }
    if (!runUntil([&] { return station.hasClient(); }, 3000))
        return {};

    StallWatch watch;
    QTimer::singleShot(180'000, &loop, &QEventLoop::quit);
    watch.start();
    station.startFlood();
    loop.exec();
    watch.stop();

    FloodResult result;
    const double seconds = double(endNs - station.startNs()) / 1e9;
    result.mibPerSecond = endNs > 0 ? double(kFloodBytes) / kMiB / seconds : 0;
    result.longestStallMs = watch.longestGapMs();
    if (throughPanel) {
        // The output box and strData hold the last chunk: the stream's tail.
        const QString shown = window->Txt_Out->toPlainText();
        const QByteArray text = FloodStation::pattern();
        const qint64 tailStart = kFloodBytes - shown.size();
        QByteArray tail;
        for (qint64 at = tailStart; at < kFloodBytes;) {
            const qint64 offset = at % text.size();
            const qint64 length = std::min<qint64>(text.size() - offset, kFloodBytes - at);
            tail += text.mid(offset, length);
            at += length;
        }
        result.lastChunkShown = endNs > 0 && shown == window->strData() && shown.size() <= StationLink::kMaxChunkBytes
                && shown == QString::fromLatin1(tail);
    }
    return result;
}

void measureFlood()
{
    progress("flood: 64 MiB through the panel and through a bare socket, alternately");
    std::vector<double> panelRate, bareRate, panelStall, bareStall;
    bool shown = true;
    for (int round = 0; round < kFloodRounds; ++round) {
        const FloodResult bare = floodOnce(false);
        const FloodResult panel = floodOnce(true);
        bareRate.push_back(bare.mibPerSecond);
        bareStall.push_back(bare.longestStallMs);
        panelRate.push_back(panel.mibPerSecond);
        panelStall.push_back(panel.longestStallMs);
        shown = shown && panel.lastChunkShown;
        std::fprintf(stderr, "bench:   round %d: panel %.1f MiB/s, stall %.1f ms; bare %.1f MiB/s, stall %.1f ms\n",
                     round + 1, panel.mibPerSecond, panel.longestStallMs, bare.mibPerSecond, bare.longestStallMs);
    }
    const double rateRatio = median(bareRate) / median(panelRate);
    const double worstStall = *std::max_element(panelStall.begin(), panelStall.end());
    g_rows.push_back({QStringLiteral("Flood 64 MiB: throughput, median of %1 (MiB/s)").arg(kFloodRounds),
                      number(median(panelRate)), number(median(bareRate)), ratioText(rateRatio) + u" slower"_s,
                      u"≤ 2× slower"_s, yesNo(rateRatio <= 2)});
    g_rows.push_back({u"Flood 64 MiB: longest event-loop stall, worst (ms)"_s, number(worstStall),
                      number(*std::max_element(bareStall.begin(), bareStall.end())), u"—"_s, u"≤ 50 ms"_s,
                      yesNo(worstStall <= 50)});
    g_rows.push_back({u"Flood 64 MiB: output box shows the last chunk"_s, shown ? u"yes"_s : u"NO"_s, u"—"_s, u"—"_s,
                      u"always"_s, yesNo(shown)});
}

// ---------------------------------------------------------------------------
// 5. Connect

struct ConnectResult
{
    double ms = -1;
    double longestStallMs = 0;
    QString text;
};

ConnectResult connectOnce(quint16 port)
{
    Panel panel(port);
    Main *window = &panel.window();
    window->show();
    ConnectResult result;
    if (!QTest::qWaitForWindowExposed(window))
        return result;
    window->Txt_IP->setText(QStringLiteral("127.0.0.1"));

    QEventLoop loop;
    qint64 start = 0;
    QObject::connect(window->Txt_Out, &QPlainTextEdit::textChanged, &loop, [&] {
        result.ms = double(monotonicNanoseconds() - start) / 1e6;
        result.text = window->Txt_Out->toPlainText();
        loop.quit();
    });
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    StallWatch watch;
    watch.start();
    start = monotonicNanoseconds();
    QTest::mouseClick(window->Pb_Connect, Qt::LeftButton);
    loop.exec();
    watch.stop();
    result.longestStallMs = watch.longestGapMs();
    return result;
}

void measureConnect()
{
    progress("connect: to a listening station and to a closed port");
    QTcpServer listening;
    listening.listen(QHostAddress::LocalHost, 0);
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 closedPort = closed.serverPort();
    closed.close();

    std::vector<double> connectedMs, refusedMs, stalls;
    bool textsRight = true;
    for (int i = 0; i < kConnectRounds; ++i) {
        const ConnectResult up = connectOnce(listening.serverPort());
        const ConnectResult refused = connectOnce(closedPort);
        connectedMs.push_back(up.ms);
        refusedMs.push_back(refused.ms);
        stalls.push_back(up.longestStallMs);
        stalls.push_back(refused.longestStallMs);
        textsRight = textsRight && up.text == PanelActions::kConnected && refused.text == PanelActions::kNotFound;
    }
    auto within = [](const std::vector<double> &ms) {
        return *std::min_element(ms.begin(), ms.end()) >= 509.5 && *std::max_element(ms.begin(), ms.end()) <= 530;
    };
    const double nominal = StationLink::kConnectWaitMs;
    g_rows.push_back({QStringLiteral("Connect to \"CS conectada\", median of %1 (ms)").arg(kConnectRounds),
                      number(median(connectedMs)), number(nominal), ratioText(median(connectedMs) / nominal),
                      u"510–530 ms, every run"_s, yesNo(textsRight && within(connectedMs))});
    g_rows.push_back({QStringLiteral("Connect to \"CS no encontrada\", median of %1 (ms)").arg(kConnectRounds),
                      number(median(refusedMs)), number(nominal), ratioText(median(refusedMs) / nominal),
                      u"510–530 ms, every run"_s, yesNo(textsRight && within(refusedMs))});
    const double worst = *std::max_element(stalls.begin(), stalls.end());
    g_rows.push_back({u"Connect: longest event-loop stall during the wait (ms)"_s, number(worst), u"—"_s, u"—"_s,
                      u"≤ 20 ms"_s, yesNo(worst <= 20)});
}

// ---------------------------------------------------------------------------

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MemoryPolicy::keepLargeBlocksMapped();
    // Naming phases (startup, clicks, flood, connect) runs only those, for
    // profiling one at a time; no argument runs them all.
    const QStringList chosen = app.arguments().mid(1);
    auto wanted = [&chosen](const char *phase) { return chosen.isEmpty() || chosen.contains(QLatin1String(phase)); };

    if (wanted("startup"))
        measureStartup();
    if (wanted("clicks")) {
        ConnectedPanel station;
        if (!station.open()) {
            std::fprintf(stderr, "bench: the panel did not connect to the loopback station\n");
            return 1;
        }
        measureClickToWire(station);
        progress("slider sweeps: keyboard and drag");
        measureSliderSweep(station, QStringLiteral("keyboard"), keyboardSweep);
        measureSliderSweep(station, QStringLiteral("drag"), dragSweep);
    }
    if (wanted("flood"))
        measureFlood();
    if (wanted("connect"))
        measureConnect();
    printTable(g_rows, u"Panel"_s, u"Baseline"_s);
    return 0;
}
