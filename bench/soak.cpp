// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make soak`: the panel connected to the simulator program for a long run
// (10 minutes unless --minutes says otherwise). A command leaves every 5 ms
// from a synthesized click or slider move, and every 30 s the panel sends
// burst(), which the simulator (started with --burst) answers with 4 MiB.
// Prints the resident memory of both programs at the start and every
// minute, the longest event-loop stall in the panel outside the bursts and
// within them, and whether the simulator's raw log holds exactly the
// commands the panel was made to send. Progress goes to stderr, the table to
// stdout.

#include <QApplication>
#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <malloc.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "actions/panel.h"
#include "actions/panelactions.h"
#include "commands/commandtexts.h"
#include "link/memorypolicy.h"
#include "link/stationlink.h"
#include "table.h"
#include "window/clicklabel.h"
#include "window/main.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kCommandPeriodMs = 5;
constexpr int kBurstPeriodMs = 30'000;
constexpr qint64 kBurstBytes = 4 * 1024 * 1024;
constexpr int kMinuteMs = 60'000;
constexpr double kMiB = 1024.0 * 1024.0;

void progress(const QString &what)
{
    std::fprintf(stderr, "panel-soak: %s\n", qPrintable(what));
}

double residentMiB(qint64 pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return double(std::stol(line.substr(6))) / 1024.0;
    }
    return -1;
}

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The longest gaps between the ticks of a 1 ms timer, told apart by whether
// they overlap a burst: from the click that asks for one to the end of the
// reading pass that brings its last byte.
class BurstStallWatch : public QObject
{
public:
    BurstStallWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, &BurstStallWatch::tick);
        m_clock.start();
        m_timer.start();
    }

    void burstStarted()
    {
        m_burstStartNs = m_clock.nsecsElapsed();
        m_inBurst = true;
    }
    void burstEnded()
    {
        m_burstEndNs = m_clock.nsecsElapsed();
        m_inBurst = false;
    }
    double seconds() const { return double(m_clock.nsecsElapsed()) / 1e9; }

    double longestOutsideMs() const { return double(m_longestOutsideNs) / 1e6; }
    double longestWithinMs() const { return double(m_longestWithinNs) / 1e6; }

    // Every gap over kReportedGapNs: when it began (seconds into the run),
    // how long it was (ms), and whether it overlapped a burst.
    // cpuMs is the processor time the panel's thread used during the gap:
    // near ms, the panel was busy; near 0, it was kept waiting.
    struct Gap
    {
        double atSeconds;
        double ms;
        double cpuMs;
        bool withinBurst;
    };
    const std::vector<Gap> &longGaps() const { return m_longGaps; }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpuNow = threadCpuNs();
        // Counted from the first tick: what comes before the event loop
        // runs is the soak setting up.
        if (m_lastNs < 0) {
            m_lastNs = now;
            m_lastCpuNs = cpuNow;
            return;
        }
        const qint64 gap = now - m_lastNs;
        const bool overlapsBurst = m_inBurst || (m_burstEndNs > m_lastNs && m_burstStartNs < now);
        qint64 &longest = overlapsBurst ? m_longestWithinNs : m_longestOutsideNs;
        longest = std::max(longest, gap);
        if (gap > kReportedGapNs)
            m_longGaps.push_back(
                    {double(m_lastNs) / 1e9, double(gap) / 1e6, double(cpuNow - m_lastCpuNs) / 1e6, overlapsBurst});
        m_lastNs = now;
        m_lastCpuNs = cpuNow;
    }

    static constexpr qint64 kReportedGapNs = 50'000'000;

    QTimer m_timer;
    QElapsedTimer m_clock;
    std::vector<Gap> m_longGaps;
    qint64 m_lastNs = -1;
    qint64 m_lastCpuNs = 0;
    qint64 m_burstStartNs = -1;
    qint64 m_burstEndNs = -1;
    bool m_inBurst = false;
    qint64 m_longestOutsideNs = 0;
    qint64 m_longestWithinNs = 0;
};

// Starts the simulator with its console going to a file, and returns the
// port its first line names (0 if it did not start).
quint16 startSimulator(QProcess &simulator, const QTemporaryDir &dir, const QString &logPath)
{
    const QString console = dir.filePath(u"simulator-console.txt"_s);
    simulator.setStandardOutputFile(console);
    simulator.start(QCoreApplication::applicationDirPath() + u"/../simulator/command-station-simulator"_s,
                    {u"--port"_s, u"0"_s, u"--burst"_s, QString::number(kBurstBytes), u"--log"_s, logPath});
    if (!simulator.waitForStarted(10'000))
        return 0;
    QByteArray first;
    const bool announced = QTest::qWaitFor(
            [&] {
                QFile file(console);
                if (file.open(QIODevice::ReadOnly))
                    first = file.readLine();
                return first.endsWith('\n');
            },
            10'000);
    return announced ? quint16(first.mid(first.lastIndexOf(' ') + 1).trimmed().toUInt()) : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MemoryPolicy::keepLargeBlocksMapped();
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({u"minutes"_s, u"Run for <N> minutes (default 10)."_s, u"N"_s, u"10"_s});
    parser.process(app);
    const int minutes = parser.value(u"minutes"_s).toInt();
    if (minutes < 1) {
        progress(u"--minutes needs a whole number, 1 or more"_s);
        return 2;
    }

    QTemporaryDir dir;
    const QString logPath = dir.filePath(u"simulator.log"_s);
    QProcess simulator;
    const quint16 port = startSimulator(simulator, dir, logPath);
    if (port == 0) {
        progress(u"the simulator did not start"_s);
        return 1;
    }

    Panel panel(port);
    Main *window = &panel.window();
    window->show();
    auto *link = &panel.link();
    window->Txt_IP->setText(u"127.0.0.1"_s);
    QTest::mouseClick(window->Pb_Connect, Qt::LeftButton);
    const bool attempted = QTest::qWaitFor([&] { return !link->isAttemptRunning(); }, 3000);
    if (!attempted || window->Txt_Out->toPlainText() != PanelActions::kConnected) {
        progress(u"the panel did not connect to the simulator"_s);
        return 1;
    }

    // Everything the panel is made to send, in order: the simulator's log
    // must end up holding exactly this. Only its size and digest are kept,
    // so that the soak's own bookkeeping does not grow the panel's process.
    QCryptographicHash expectedDigest(QCryptographicHash::Sha256);
    qint64 expectedSize = 0;
    qint64 commands = 0;
    auto expect = [&](const QString &command) {
        const QByteArray bytes = command.toLatin1();
        expectedDigest.addData(bytes);
        expectedSize += bytes.size();
        ++commands;
    };
    const QString loco = u"1000"_s;
    const QString function = u"3"_s;
    QTest::mouseClick(window->Lbl_Go, Qt::LeftButton);
    expect(Commands::powerOn());
    window->Txt_Loco_Ad->setText(loco);
    window->Txt_Loco_Function->setText(function);
    QTest::mouseClick(window->Pb_Loco_Request, Qt::LeftButton);
    expect(Commands::takeLocomotive(loco));

    BurstStallWatch stalls;
    qint64 burstBytesSeen = -1;
    int bursts = 0;
    // One report per reading pass: the burst is in at the end of the pass
    // that brings the 4 MiB since its click.
    QObject::connect(link, &StationLink::dataArrived, &stalls, [&](const QString &, qint64 byteCount) {
        if (burstBytesSeen < 0)
            return;
        burstBytesSeen += byteCount;
        if (burstBytesSeen >= kBurstBytes) {
            burstBytesSeen = -1;
            stalls.burstEnded();
            progress(QStringLiteral("  in by %1 s").arg(stalls.seconds(), 0, 'f', 3));
        }
    });

    // One synthesized action a tick: lists, functions and the slider, which
    // sweeps up to 127 and back down by arrow keys.
    int tick = 0;
    bool speedRising = true;
    QTimer commandTimer;
    commandTimer.setTimerType(Qt::PreciseTimer);
    commandTimer.setInterval(kCommandPeriodMs);
    QObject::connect(&commandTimer, &QTimer::timeout, &stalls, [&] {
        switch (tick++ % 8) {
        case 0:
            QTest::mouseClick(window->Pb_Locos_List, Qt::LeftButton);
            expect(Commands::listLocomotives());
            break;
        case 2:
            QTest::mouseClick(window->Pb_Switch_List, Qt::LeftButton);
            expect(Commands::listAccessories());
            break;
        case 4:
            QTest::mouseClick(window->Pb_Function_On, Qt::LeftButton);
            expect(Commands::functionOn(loco, function));
            break;
        case 6:
            QTest::mouseClick(window->Pb_Function_Off, Qt::LeftButton);
            expect(Commands::functionOff(loco, function));
            break;
        default: {
            QSlider *slider = window->Slider_Loco;
            if (slider->value() == slider->maximum())
                speedRising = false;
            else if (slider->value() == slider->minimum())
                speedRising = true;
            QTest::keyClick(slider, speedRising ? Qt::Key_Right : Qt::Key_Left);
            expect(Commands::setSpeed(loco, slider->value()));
            break;
        }
        }
    });

    QTimer burstTimer;
    burstTimer.setInterval(kBurstPeriodMs);
    QObject::connect(&burstTimer, &QTimer::timeout, &stalls, [&] {
        ++bursts;
        stalls.burstStarted();
        progress(QStringLiteral("burst %1 at %2 s").arg(bursts).arg(stalls.seconds(), 0, 'f', 3));
        burstBytesSeen = 0;
        window->Txt_CommandLine->setText(u"burst()"_s);
        QTest::mouseClick(window->Pb_Command_Line, Qt::LeftButton);
        expect(Commands::freeCommand(u"burst()"_s));
    });

    const qint64 panelPid = QCoreApplication::applicationPid();
    const qint64 simulatorPid = simulator.processId();
    std::vector<double> panelMiB = {residentMiB(panelPid)};
    std::vector<double> simulatorMiB = {residentMiB(simulatorPid)};
    progress(QStringLiteral("start: panel %1 MiB, simulator %2 MiB").arg(panelMiB[0]).arg(simulatorMiB[0]));
    QTimer minuteTimer;
    minuteTimer.setInterval(kMinuteMs);
    QObject::connect(&minuteTimer, &QTimer::timeout, &stalls, [&] {
        panelMiB.push_back(residentMiB(panelPid));
        simulatorMiB.push_back(residentMiB(simulatorPid));
        progress(QStringLiteral("minute %1: panel %2 MiB (heap in use %6 MiB), simulator %3 MiB, %4 commands, "
                                "stall %5 ms")
                         .arg(panelMiB.size() - 1)
                         .arg(panelMiB.back())
                         .arg(simulatorMiB.back())
                         .arg(commands)
                         .arg(stalls.longestOutsideMs())
                         .arg(double(mallinfo2().uordblks) / kMiB));
        if (int(panelMiB.size()) > minutes)
            QCoreApplication::quit();
    });

    commandTimer.start();
    burstTimer.start();
    minuteTimer.start();
    app.exec();
    commandTimer.stop();
    burstTimer.stop();

    // Every command sent has reached the simulator's log, byte for byte.
    const bool complete = QTest::qWaitFor([&] { return QFileInfo(logPath).size() >= expectedSize; }, 10'000);
    QFile log(logPath);
    QCryptographicHash loggedDigest(QCryptographicHash::Sha256);
    const bool exact = complete && log.open(QIODevice::ReadOnly) && log.size() == expectedSize
            && loggedDigest.addData(&log) && loggedDigest.result() == expectedDigest.result();
    window->close();
    simulator.terminate();
    simulator.waitForFinished(5000);

    for (const BurstStallWatch::Gap &gap : stalls.longGaps())
        progress(QStringLiteral("gap of %1 ms at %2 s, %3 ms of it on the processor%4")
                         .arg(gap.ms, 0, 'f', 1)
                         .arg(gap.atSeconds, 0, 'f', 3)
                         .arg(gap.cpuMs, 0, 'f', 1)
                         .arg(gap.withinBurst ? u" (within a burst)"_s : QString()));
    std::vector<Row> rows;
    for (std::size_t minute = 0; minute < panelMiB.size(); ++minute)
        rows.push_back({minute == 0 ? u"Resident memory at the start (MiB)"_s
                                    : QStringLiteral("Resident memory after minute %1 (MiB)").arg(minute),
                        number(panelMiB[minute], 2), number(simulatorMiB[minute], 2), u"—"_s, u"—"_s, u"—"_s});
    auto growth = [](const std::vector<double> &samples) {
        double most = 0;
        for (std::size_t i = 2; i < samples.size(); ++i)
            most = std::max(most, samples[i] - samples[1]);
        return most;
    };
    const double panelGrowth = growth(panelMiB), simulatorGrowth = growth(simulatorMiB);
    rows.push_back({u"Largest growth over minute 1's figure (MiB)"_s, number(panelGrowth, 2),
                    number(simulatorGrowth, 2), u"—"_s, u"< 1 MiB each"_s,
                    yesNo(panelGrowth < 1 && simulatorGrowth < 1)});
    rows.push_back({u"Longest event-loop stall outside bursts (ms)"_s, number(stalls.longestOutsideMs()), u"—"_s,
                    u"—"_s, u"≤ 50 ms"_s, yesNo(stalls.longestOutsideMs() <= 50)});
    rows.push_back({QStringLiteral("Longest event-loop stall within the %1 bursts of 4 MiB (ms)").arg(bursts),
                    number(stalls.longestWithinMs()), u"—"_s, u"—"_s, u"—"_s, u"—"_s});
    rows.push_back({QStringLiteral("Commands sent (%1 bytes), all received exactly").arg(expectedSize),
                    QString::number(commands),
                    exact ? u"all"_s : QStringLiteral("%1 bytes logged, not the same").arg(QFileInfo(logPath).size()),
                    u"—"_s, u"all, byte for byte"_s, yesNo(exact)});
    printTable(rows, u"Panel"_s, u"Simulator"_s);
    return exact ? 0 : 1;
}
