// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make bench`, the simulator at scale: the simulator program and a bare Qt
// line-echo server (bench-echo-server, the floor), each a process of its
// own, driven alike by closed-loop clients on one epoll loop of this one, so
// that only the servers' event loops are measured (docs/performance.md).
// Progress goes to stderr, the table to stdout.
//
// With --view, the simulator with its railway window (on the offscreen
// platform) beside itself without one, under commands that change the
// railway each time, at 1 and 10 clients: what the window costs the replies.

#include <QCoreApplication>
#include <QStringList>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "childprogram.h"
#include "clock.h"
#include "simulatorprocess.h"
#include "table.h"

using namespace Qt::StringLiterals;
using TestKit::monotonicNs;

namespace {

constexpr std::array kClientCounts = {1, 10, 100, 1000};
constexpr int kIdleClients = 1000;
constexpr int kRounds = 3;
constexpr int kConnectBatch = 64;
constexpr double kWarmUpSeconds = 0.3;
constexpr double kMeasureSeconds = 1.5;
constexpr std::array kViewClientCounts = {1, 10};
// The window's cost is a few per cent, less than the spread of a single
// client's figures from one round to the next: more rounds to take the
// median of.
constexpr int kViewRounds = 7;
constexpr char kCommand[] = "get(1, status)\n";
constexpr qsizetype kCommandSize = sizeof kCommand - 1;
// Each client switches the power on and off in turn: every command changes
// the railway, so the window has something to draw at every frame.
constexpr std::array<std::string_view, 2> kPowerCommands = {"set(1, go)\n", "set(1, stop)\n"};

struct StepResult
{
    double commandsPerSecond = 0;
    double p50Us = 0;
    double p99Us = 0;
    double cpuUsPerCommand = 0;
};

// A server under test, started afresh with its console read and dropped as
// a console would take it, and its closed-loop clients, all driven from one
// epoll set.
class ServerUnderTest
{
public:
    // A reply block to get(1, status), the line sent echoed, or a reply
    // block to the power switched on and off in turn.
    enum class Reply : quint8 { Block, Line, Power };

    ServerUnderTest(const char *name, Reply reply, const QString &path, const QStringList &arguments,
                    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
        : m_name(name), m_reply(reply), m_program(path, arguments, TestKit::ChildProgram::Console::Drop, environment),
          m_port(m_program.waitForPort())
    {}
    ~ServerUnderTest()
    {
        closeAll();
        ::close(m_epoll);
    }

    bool started() const { return m_port != 0; }
    const QString &name() const { return m_name; }
    qint64 residentKiB() const { return m_program.residentKiB(); }
    long badReplies() const { return m_badReplies; }

    // Connects `count` more clients, a batch at a time, each answered once
    // before the next batch connects: a crowd never overruns the server's
    // listen backlog, and every session is set up when this returns.
    bool connect(int count)
    {
        m_sending = false;
        for (int batch; count > 0; count -= batch) {
            batch = std::min(count, kConnectBatch);
            for (int i = 0; i < batch; ++i) {
                if (!connectOne())
                    return false;
                send(m_clients.back());
            }
            if (!pump(10, true))
                return false;
        }
        return true;
    }

    StepResult run()
    {
        m_sending = true;
        m_latenciesUs.clear();
        for (Client &client : m_clients)
            send(client);
        pump(kWarmUpSeconds);
        const double cpuBefore = m_program.cpuSeconds();
        const qint64 startNs = monotonicNs();
        m_recording = true;
        pump(kMeasureSeconds);
        m_recording = false;
        const double seconds = double(monotonicNs() - startNs) / 1e9;
        const double cpu = m_program.cpuSeconds() - cpuBefore;
        m_sending = false;
        pump(10, true);
        const double commands = double(m_latenciesUs.size());
        return {commands / seconds, quantile(m_latenciesUs, 0.5), quantile(m_latenciesUs, 0.99),
                commands > 0 ? cpu * 1e6 / commands : 0};
    }

    // Closes every client and lets the server see it go.
    void closeAll(double idleSeconds = 0)
    {
        for (const Client &client : m_clients)
            ::close(client.fd);
        m_clients.clear();
        m_sending = false;
        pump(idleSeconds);
    }

    // Runs the loop for `seconds`, or until no client waits for a reply
    // when `untilSettled`: false if one still waits then.
    bool pump(double seconds, bool untilSettled = false)
    {
        const qint64 deadline = monotonicNs() + qint64(seconds * 1e9);
        auto waiting = [this] {
            return std::any_of(m_clients.begin(), m_clients.end(), [](const Client &c) { return c.waiting; });
        };
        for (qint64 now = monotonicNs(); now < deadline && (!untilSettled || waiting()); now = monotonicNs()) {
            std::array<epoll_event, 256> events;
            const int timeoutMs = int(std::max<qint64>(1, (deadline - now) / 1'000'000));
            const int ready = ::epoll_wait(m_epoll, events.data(), int(events.size()), timeoutMs);
            for (int i = 0; i < ready; ++i)
                readFrom(m_clients[events[i].data.u64]);
        }
        if (untilSettled && waiting())
            progress(m_name + u": replies missing"_s);
        return !untilSettled || !waiting();
    }

private:
    struct Client
    {
        int fd = -1;
        std::string input;
        qint64 sentNs = 0;
        bool waiting = false;
        std::string_view sent = kCommand;
        bool powerOn = false;
    };

    bool connectOne()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_port);
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            progress(m_name + u": a client did not connect"_s);
            ::close(fd);
            return false;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = m_clients.size();
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
        m_clients.push_back({fd, {}, 0, false, kCommand, false});
        return true;
    }

    void send(Client &client)
    {
        client.waiting = true;
        if (m_reply == Reply::Power) {
            client.powerOn = !client.powerOn;
            client.sent = kPowerCommands[client.powerOn ? 0 : 1];
        }
        client.sentNs = monotonicNs();
        if (::write(client.fd, client.sent.data(), client.sent.size()) != qsizetype(client.sent.size()))
            ++m_badReplies;
    }

    void readFrom(Client &client)
    {
        char buffer[65536];
        for (ssize_t got; (got = ::read(client.fd, buffer, sizeof buffer)) > 0;)
            client.input.append(buffer, std::size_t(got));
        for (std::size_t end; (end = replyEnd(client.input)) != std::string::npos;) {
            const qint64 now = monotonicNs();
            if (!client.waiting || !wellFormed(client.input.substr(0, end), client.sent))
                ++m_badReplies;
            client.input.erase(0, end);
            client.waiting = false;
            if (m_recording)
                m_latenciesUs.push_back(double(now - client.sentNs) / 1e3);
            if (m_sending)
                send(client);
        }
    }

    // Just past the end of the first whole reply in `input`, or npos.
    std::size_t replyEnd(const std::string &input) const
    {
        const std::size_t from = m_reply == Reply::Line ? 0 : input.find("<END ");
        const std::size_t lineFeed = from == std::string::npos ? from : input.find('\n', from);
        return lineFeed == std::string::npos ? lineFeed : lineFeed + 1;
    }

    bool wellFormed(const std::string &reply, std::string_view sent) const
    {
        if (m_reply == Reply::Line)
            return reply == kCommand;
        if (m_reply == Reply::Power)
            return reply == "<REPLY " + std::string(sent.substr(0, sent.size() - 1)) + ">\n<END 0 (OK)>\n";
        return reply.starts_with("<REPLY get(1, status)>\n1 status[") && reply.ends_with("\n<END 0 (OK)>\n");
    }

    const QString m_name;
    const Reply m_reply;
    TestKit::ChildProgram m_program;
    const quint16 m_port;
    int m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    std::vector<Client> m_clients;
    std::vector<double> m_latenciesUs;
    bool m_sending = false;
    bool m_recording = false;
    long m_badReplies = 0;
};

// The simulator and its floor, started afresh side by side.
struct ServerPair
{
    ServerPair(const QString &simulator, const QString &echo)
        : station("simulator", ServerUnderTest::Reply::Block, simulator, {u"--port"_s, u"0"_s}),
          floor("line echo", ServerUnderTest::Reply::Line, echo, {})
    {
        if (!started())
            progress("the servers did not start");
    }
    bool started() const { return station.started() && floor.started(); }

    ServerUnderTest station;
    ServerUnderTest floor;
};

// KiB of resident memory each of `count` connected, idle clients costs the
// server: a first client warms the code paths and goes, then the crowd
// connects, each client exchanging one command, and sits idle.
double idleClientKiB(ServerUnderTest &server, int count)
{
    if (!server.connect(1))
        return -1;
    server.run();
    server.closeAll(0.3);
    const qint64 before = server.residentKiB();
    if (!server.connect(count))
        return -1;
    server.pump(0.3);
    const qint64 after = server.residentKiB();
    server.closeAll(0.3);
    return double(after - before) / double(count);
}

std::vector<Row> g_rows;

double medianOf(const std::vector<StepResult> &steps, double StepResult::*field)
{
    std::vector<double> values;
    std::ranges::transform(steps, std::back_inserter(values), field);
    return median(values);
}

QString stepName(int clients, int rounds)
{
    return u"%1 client%2, median of %3"_s.arg(clients).arg(clients == 1 ? "" : "s").arg(rounds);
}

// A figure's median over the rounds of the server measured and of its
// baseline.
auto mediansOf(const std::vector<StepResult> &measured, const std::vector<StepResult> &baseline)
{
    return [&](double StepResult::*field) { return std::pair(medianOf(measured, field), medianOf(baseline, field)); };
}

void addStepRows(int clients, const std::vector<StepResult> &station, const std::vector<StepResult> &floor,
                 double stationCostAtOne)
{
    const QString each = stepName(clients, kRounds);
    const auto figures = mediansOf(station, floor);
    const auto [rate, floorRate] = figures(&StepResult::commandsPerSecond);
    g_rows.push_back(
            ratioRow(u"Commands per second, "_s + each, rate, floorRate, u"≥ 0.90×"_s, rate >= 0.9 * floorRate, 0));
    const auto [p50, floor50] = figures(&StepResult::p50Us);
    g_rows.push_back(ratioRow(u"Latency p50, "_s + each + u" (µs)"_s, p50, floor50));
    const auto [p99, floor99] = figures(&StepResult::p99Us);
    g_rows.push_back(
            ratioRow(u"Latency p99, "_s + each + u" (µs)"_s, p99, floor99, u"≤ 1.50×"_s, p99 <= 1.5 * floor99));
    const auto [cost, floorCost] = figures(&StepResult::cpuUsPerCommand);
    const double growth = cost / stationCostAtOne;
    g_rows.push_back(ratioRow(u"Server CPU per command, "_s + each + u" (µs)"_s, cost, floorCost,
                              u"×%1 of 1 client ≤ ×%2"_s.arg(number(growth, 2)).arg(clients), growth <= clients, 2));
}

// The simulator with its window against itself without one: the window
// may cost the replies a tenth at most.
void addViewRows(int clients, const std::vector<StepResult> &viewed, const std::vector<StepResult> &plain, double)
{
    const QString each = stepName(clients, kViewRounds);
    const auto figures = mediansOf(viewed, plain);
    const auto [rate, plainRate] = figures(&StepResult::commandsPerSecond);
    g_rows.push_back(
            ratioRow(u"Commands per second, "_s + each, rate, plainRate, u"≥ 0.90×"_s, rate >= 0.9 * plainRate, 0));
    const auto [p50, plain50] = figures(&StepResult::p50Us);
    g_rows.push_back(
            ratioRow(u"Latency p50, "_s + each + u" (µs)"_s, p50, plain50, u"≤ 1.10×"_s, p50 <= 1.1 * plain50));
    const auto [p99, plain99] = figures(&StepResult::p99Us);
    g_rows.push_back(ratioRow(u"Latency p99, "_s + each + u" (µs)"_s, p99, plain99));
    const auto [cost, plainCost] = figures(&StepResult::cpuUsPerCommand);
    g_rows.push_back(ratioRow(u"Server CPU per command, "_s + each + u" (µs)"_s, cost, plainCost, u"—"_s, {}, 2));
}

using AddRows = void (*)(int, const std::vector<StepResult> &, const std::vector<StepResult> &, double);

// Every client count in turn, the server measured and its baseline taking
// turns at coming first.
bool measureSteps(ServerUnderTest &measured, ServerUnderTest &baseline, const auto &clientCounts, int rounds,
                  AddRows addRows)
{
    double measuredCostAtOne = 0;
    for (const int clients : clientCounts) {
        progress(
                u"%1 closed-loop clients, %2 and %3 taking turns"_s.arg(clients).arg(measured.name(), baseline.name()));
        if (!measured.connect(clients) || !baseline.connect(clients))
            return false;
        std::vector<StepResult> measuredSteps, baselineSteps;
        for (int round = 0; round < rounds; ++round) {
            const bool measuredFirst = round % 2 == 0;
            for (const bool isMeasured : {measuredFirst, !measuredFirst}) {
                const StepResult step = (isMeasured ? measured : baseline).run();
                (isMeasured ? measuredSteps : baselineSteps).push_back(step);
                progress(QString::asprintf("  %s: %.0f/s, p50 %.1f us, p99 %.1f us, %.2f us CPU each",
                                           qPrintable((isMeasured ? measured : baseline).name()),
                                           step.commandsPerSecond, step.p50Us, step.p99Us, step.cpuUsPerCommand));
            }
        }
        if (clients == 1)
            measuredCostAtOne = medianOf(measuredSteps, &StepResult::cpuUsPerCommand);
        addRows(clients, measuredSteps, baselineSteps, measuredCostAtOne);
        measured.closeAll(0.2);
        baseline.closeAll(0.2);
    }
    return true;
}

void addWholeRepliesRow(long bad)
{
    g_rows.push_back({u"Every reply whole, in order and as expected"_s,
                      bad == 0 ? u"yes"_s : QString::number(bad) + u" bad"_s, u"—"_s, u"—"_s, u"all"_s,
                      yesNo(bad == 0)});
}

// The window drawn on the offscreen platform, which draws as a screen's
// does, without a display.
int measureView(const QString &simulator)
{
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    using Reply = ServerUnderTest::Reply;
    ServerUnderTest viewed("simulator --view", Reply::Power, simulator, {u"--port"_s, u"0"_s, u"--view"_s}, offscreen);
    ServerUnderTest plain("simulator", Reply::Power, simulator, {u"--port"_s, u"0"_s});
    if (!viewed.started() || !plain.started()
        || !measureSteps(viewed, plain, kViewClientCounts, kViewRounds, addViewRows))
        return 1;
    addWholeRepliesRow(viewed.badReplies() + plain.badReplies());
    printTable(g_rows, u"With --view"_s, u"Without"_s);
    return 0;
}

// Both this process and the servers it starts need a descriptor per client.
void raiseOpenFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    raiseOpenFileLimit();
    // Another build of the simulator may be named, to compare before and after.
    QStringList arguments = QCoreApplication::arguments();
    const bool view = arguments.removeAll(u"--view"_s) > 0;
    const QString simulator = arguments.size() > 1 ? arguments[1] : TestKit::SimulatorProcess::executable();
    const QString echo = QCoreApplication::applicationDirPath() + u"/bench-echo-server"_s;
    if (view)
        return measureView(simulator);

    long bad = 0;
    double idleKiB[2] = {0, 0};
    {
        progress(u"resident memory per idle client: %1 clients each"_s.arg(kIdleClients));
        ServerPair fresh(simulator, echo);
        if (!fresh.started())
            return 1;
        idleKiB[0] = idleClientKiB(fresh.station, kIdleClients);
        idleKiB[1] = idleClientKiB(fresh.floor, kIdleClients);
        bad += fresh.station.badReplies() + fresh.floor.badReplies();
    }
    ServerPair servers(simulator, echo);
    if (!servers.started() || !measureSteps(servers.station, servers.floor, kClientCounts, kRounds, addStepRows))
        return 1;
    bad += servers.station.badReplies() + servers.floor.badReplies();
    g_rows.push_back(ratioRow(u"Resident memory per idle client, %1 clients (KiB)"_s.arg(kIdleClients), idleKiB[0],
                              idleKiB[1], u"≤ 32 KiB"_s, idleKiB[0] >= 0 && idleKiB[0] <= 32, 2));
    addWholeRepliesRow(bad);
    printTable(g_rows, u"Simulator"_s, u"Line echo"_s);
    return 0;
}
