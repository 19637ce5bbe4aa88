// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make soak`: the panel against the simulator program for 10 minutes (or
// --minutes), a command every 5 ms and a 4 MiB reply every 30 s: memory of
// both every minute, the panel's longest stalls, every command accounted
// for (docs/performance.md). Progress goes to stderr, the table to stdout.

#include <QApplication>
#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <vector>

#include "actions/panel.h"
#include "commands/commandtexts.h"
#include "connectpanel.h"
#include "link/stationlink.h"
#include "simulatorprocess.h"
#include "stallwatch.h"
#include "table.h"
#include "waituntil.h"
#include "window/clicklabel.h"
#include "window/main.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kCommandPeriodMs = 5;
constexpr int kBurstPeriodMs = 30'000;
constexpr qint64 kBurstBytes = 4 * 1024 * 1024;
constexpr int kMinuteMs = 60'000;

double residentMiB(qint64 pid)
{
    return double(TestKit::residentKiB(pid)) / 1024.0;
}

// The panel driven against the simulator: one synthesized action a tick,
// lists, functions and the slider, which sweeps up to 127 and back down by
// arrow keys; a burst every 30 s; both programs' memory every minute.
class Soak
{
public:
    Soak(Panel &panel, qint64 simulatorPid, int minutes)
        : m_window(panel.window()), m_simulatorPid(simulatorPid), m_minutes(minutes)
    {
        // One report per reading pass: the burst is in at the end of the
        // pass that brings the 4 MiB since its click.
        QObject::connect(&panel.link(), &StationLink::dataArrived, &m_stalls,
                         [this](const QString &, qint64 byteCount) { countBurst(byteCount); });
        m_commandTimer.setTimerType(Qt::PreciseTimer);
        m_commandTimer.setInterval(kCommandPeriodMs);
        QObject::connect(&m_commandTimer, &QTimer::timeout, &m_stalls, [this] { act(); });
        m_burstTimer.setInterval(kBurstPeriodMs);
        QObject::connect(&m_burstTimer, &QTimer::timeout, &m_stalls, [this] { burst(); });
        m_minuteTimer.setInterval(kMinuteMs);
        QObject::connect(&m_minuteTimer, &QTimer::timeout, &m_stalls, [this] { noteMinute(); });
    }

    // Power on and take the locomotive, then run until the last minute.
    void run()
    {
        click(m_window.Lbl_Go, Commands::powerOn());
        m_window.Txt_Loco_Ad->setText(kLoco);
        m_window.Txt_Loco_Function->setText(kFunction);
        click(m_window.Pb_Loco_Request, Commands::takeLocomotive(kLoco));
        m_panelMiB = {residentMiB(QCoreApplication::applicationPid())};
        m_simulatorMiB = {residentMiB(m_simulatorPid)};
        progress(QStringLiteral("start: panel %1 MiB, simulator %2 MiB").arg(m_panelMiB[0]).arg(m_simulatorMiB[0]));
        for (QTimer *timer : {&m_commandTimer, &m_burstTimer, &m_minuteTimer})
            timer->start();
        m_stalls.start();
        QCoreApplication::exec();
        m_stalls.stop();
        m_commandTimer.stop();
        m_burstTimer.stop();
        for (const TestKit::StallWatch::Gap &gap : m_stalls.longGaps())
            progress(QString::asprintf("gap of %.1f ms at %.3f s, %.1f ms of it on the processor%s", gap.ms,
                                       gap.atSeconds, gap.cpuMs, gap.withinBurst ? " (within a burst)" : ""));
    }

    // Waits for the simulator's log to take in every byte sent, then
    // compares it with what was sent.
    bool logHoldsAllSent(const QString &logPath) const
    {
        const bool complete = TestKit::waitUntil([&] { return QFile(logPath).size() >= m_sentBytes; }, 10'000);
        QFile log(logPath);
        QCryptographicHash logged(QCryptographicHash::Sha256);
        return complete && log.open(QIODevice::ReadOnly) && log.size() == m_sentBytes && logged.addData(&log)
                && logged.result() == m_sent.result();
    }
    std::vector<Row> rows(bool exact, qint64 loggedBytes) const;

private:
    static inline const QString kLoco = u"1000"_s;
    static inline const QString kFunction = u"3"_s;

    // Everything the panel is made to send, in order, is kept as a size and
    // a digest only, so that the soak's own bookkeeping does not grow the
    // panel's process.
    void expect(const QString &command)
    {
        const QByteArray bytes = command.toLatin1();
        m_sent.addData(bytes);
        m_sentBytes += bytes.size();
        ++m_commands;
    }

    void click(QWidget *control, const QString &command)
    {
        QTest::mouseClick(control, Qt::LeftButton);
        expect(command);
    }

    void act()
    {
        const int step = m_tick++ % 8;
        if (step % 2 == 0)
            click(m_clicks[step / 2].first, m_clicks[step / 2].second);
        else
            slide();
    }

    void slide()
    {
        QSlider *slider = m_window.Slider_Loco;
        if (slider->value() == slider->maximum())
            m_speedRising = false;
        else if (slider->value() == slider->minimum())
            m_speedRising = true;
        QTest::keyClick(slider, m_speedRising ? Qt::Key_Right : Qt::Key_Left);
        expect(Commands::setSpeed(kLoco, slider->value()));
    }

    void burst()
    {
        ++m_bursts;
        m_stalls.burstStarted();
        progress(QStringLiteral("burst %1 at %2 s").arg(m_bursts).arg(m_stalls.secondsSinceStart(), 0, 'f', 3));
        m_burstBytesSeen = 0;
        m_window.Txt_CommandLine->setText(u"burst()"_s);
        click(m_window.Pb_Command_Line, Commands::freeCommand(u"burst()"_s));
    }

    void countBurst(qint64 byteCount)
    {
        if (m_burstBytesSeen < 0)
            return;
        m_burstBytesSeen += byteCount;
        if (m_burstBytesSeen >= kBurstBytes) {
            m_burstBytesSeen = -1;
            m_stalls.burstEnded();
            progress(QStringLiteral("  in by %1 s").arg(m_stalls.secondsSinceStart(), 0, 'f', 3));
        }
    }

    void noteMinute()
    {
        m_panelMiB.push_back(residentMiB(QCoreApplication::applicationPid()));
        m_simulatorMiB.push_back(residentMiB(m_simulatorPid));
        const struct mallinfo2 heap = mallinfo2();
        progress(QString::asprintf("minute %zu: panel %g MiB (heap in use %g of %g MiB held), simulator %g MiB, "
                                   "%lld commands, stall %g ms",
                                   m_panelMiB.size() - 1, m_panelMiB.back(), double(heap.uordblks) / (1024 * 1024),
                                   double(heap.arena + heap.hblkhd) / (1024 * 1024), m_simulatorMiB.back(), m_commands,
                                   m_stalls.longestMs()));
        if (int(m_panelMiB.size()) > m_minutes)
            QCoreApplication::quit();
    }

    Main &m_window;
    const qint64 m_simulatorPid;
    const int m_minutes;
    QCryptographicHash m_sent{QCryptographicHash::Sha256};
    qint64 m_sentBytes = 0;
    qint64 m_commands = 0;
    TestKit::StallWatch m_stalls;
    QTimer m_commandTimer;
    QTimer m_burstTimer;
    QTimer m_minuteTimer;
    // The clicks between slider steps, in turn, with what each sends.
    const std::array<std::pair<QWidget *, QString>, 4> m_clicks = {{
            {m_window.Pb_Locos_List, Commands::listLocomotives()},
            {m_window.Pb_Switch_List, Commands::listAccessories()},
            {m_window.Pb_Function_On, Commands::functionOn(kLoco, kFunction)},
            {m_window.Pb_Function_Off, Commands::functionOff(kLoco, kFunction)},
    }};
    int m_tick = 0;
    bool m_speedRising = true;
    int m_bursts = 0;
    qint64 m_burstBytesSeen = -1;
    std::vector<double> m_panelMiB;
    std::vector<double> m_simulatorMiB;
};

// The largest rise over the figure after minute 1.
double growth(const std::vector<double> &samples)
{
    if (samples.size() < 3)
        return 0;
    return std::max(0.0, *std::max_element(samples.begin() + 2, samples.end()) - samples[1]);
}

std::vector<Row> Soak::rows(bool exact, qint64 loggedBytes) const
{
    std::vector<Row> rows;
    rows.reserve(m_panelMiB.size() + 4); // a row a minute, and the four below
    for (std::size_t minute = 0; minute < m_panelMiB.size(); ++minute)
        rows.push_back({minute == 0 ? u"Resident memory at the start (MiB)"_s
                                    : QStringLiteral("Resident memory after minute %1 (MiB)").arg(minute),
                        number(m_panelMiB[minute], 2), number(m_simulatorMiB[minute], 2), u"—"_s, u"—"_s, u"—"_s});
    const double panelGrowth = growth(m_panelMiB), simulatorGrowth = growth(m_simulatorMiB);
    rows.push_back({u"Largest growth over minute 1's figure (MiB)"_s, number(panelGrowth, 2),
                    number(simulatorGrowth, 2), u"—"_s, u"< 0.5 MiB each"_s,
                    yesNo(panelGrowth < 0.5 && simulatorGrowth < 0.5)});
    rows.push_back({u"Longest event-loop stall outside bursts (ms)"_s, number(m_stalls.longestMs()), u"—"_s, u"—"_s,
                    u"≤ 50 ms"_s, yesNo(m_stalls.longestMs() <= 50)});
    rows.push_back({QStringLiteral("Longest event-loop stall within the %1 bursts of 4 MiB (ms)").arg(m_bursts),
                    number(m_stalls.longestWithinBurstsMs()), u"—"_s, u"—"_s, u"—"_s, u"—"_s});
    rows.push_back({QStringLiteral("Commands sent (%1 bytes), all received exactly").arg(m_sentBytes),
                    QString::number(m_commands),
                    exact ? u"all"_s : QStringLiteral("%1 bytes logged, not the same").arg(loggedBytes), u"—"_s,
                    u"all, byte for byte"_s, yesNo(exact)});
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    TestKit::SimulatorProcess simulator({u"--burst"_s, QString::number(kBurstBytes), u"--log"_s, logPath},
                                        TestKit::ChildProgram::Console::Drop);
    if (simulator.port() == 0) {
        progress(u"the simulator did not start"_s);
        return 1;
    }
    Panel panel(simulator.port());
    if (!TestKit::connectPanel(panel.window())) {
        progress(u"the panel did not connect to the simulator"_s);
        return 1;
    }
    Soak soak(panel, simulator.pid(), minutes);
    soak.run();
    const bool exact = soak.logHoldsAllSent(logPath);
    panel.window().close();
    simulator.stop(5000);
    printTable(soak.rows(exact, QFile(logPath).size()), u"Panel"_s, u"Simulator"_s);
    return exact ? 0 : 1;
}
