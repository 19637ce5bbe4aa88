// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `make bench`, the simulator at scale: the simulator program and a bare Qt
// line-echo server (bench-echo-server, the floor) each run as a process of
// their own, and this process drives both with closed-loop clients on
// loopback from one epoll loop of its own, so what is measured is the
// servers' event loops alone. Every client sends "get(1, status)" and waits
// for the whole reply (through its "<END ...>" line; the floor's through the
// echoed line) before it sends again. Progress goes to stderr, the table to
// stdout.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stats.h"
#include "table.h"

using namespace Qt::StringLiterals;

namespace {

constexpr std::array kClientCounts = {1, 10, 100, 1000};
constexpr int kIdleClients = 1000;
constexpr int kRounds = 3;
constexpr int kConnectBatch = 64;
constexpr double kWarmUpSeconds = 0.3;
constexpr double kMeasureSeconds = 1.5;
constexpr char kCommand[] = "get(1, status)\n";

qint64 monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

void progress(const std::string &what)
{
    std::fprintf(stderr, "simulator-bench: %s\n", what.c_str());
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

// A server under test as a child process; its output is read and dropped,
// as a console would take it, so that it never blocks on a full pipe.
class ServerProcess
{
public:
    enum class Reply { Block, Line };

    ServerProcess(std::string name, Reply reply) : m_name(std::move(name)), m_reply(reply) {}
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;
    ~ServerProcess() { stop(); }

    // Starts `argv` and reads the port from its first line ("... port N").
    bool start(const std::vector<std::string> &argv)
    {
        int output[2];
        if (::pipe(output) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        posix_spawn_file_actions_addclose(&actions, output[1]);
        std::vector<char *> args;
        args.reserve(argv.size() + 1);
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        const int spawned = posix_spawn(&m_pid, argv.front().c_str(), &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        m_output = output[0];
        if (spawned != 0) {
            m_pid = -1;
            return false;
        }
        std::string line;
        char byte = 0;
        while (line.find('\n') == std::string::npos && ::read(m_output, &byte, 1) == 1)
            line += byte;
        const auto at = line.rfind("port ");
        if (at == std::string::npos)
            return false;
        m_port = std::uint16_t(std::stoi(line.substr(at + 5)));
        ::fcntl(m_output, F_SETFL, ::fcntl(m_output, F_GETFL) | O_NONBLOCK);
        return m_port != 0;
    }

    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
        if (m_output >= 0)
            ::close(m_output);
        m_output = -1;
    }

    void drainOutput() const
    {
        char buffer[65536];
        while (::read(m_output, buffer, sizeof buffer) > 0) {}
    }

    const std::string &name() const { return m_name; }
    Reply reply() const { return m_reply; }
    int outputFd() const { return m_output; }
    std::uint16_t port() const { return m_port; }

    // VmRSS from /proc, in KiB.
    long residentKiB() const
    {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0)
                return std::stol(line.substr(6));
        }
        return -1;
    }

    // User and system time of all its threads, in seconds.
    double cpuSeconds() const
    {
        std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const auto close = text.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        double ticks = 0;
        // After the name: state is field 3; utime and stime are 14 and 15.
        for (int index = 3; index <= 15 && fields >> field; ++index) {
            if (index >= 14)
                ticks += std::stod(field);
        }
        return ticks / double(::sysconf(_SC_CLK_TCK));
    }

private:
    std::string m_name;
    Reply m_reply;
    pid_t m_pid = -1;
    int m_output = -1;
    std::uint16_t m_port = 0;
};

// The simulator and its floor, started afresh side by side.
struct ServerPair
{
    ServerProcess station{"simulator", ServerProcess::Reply::Block};
    ServerProcess floor{"line echo", ServerProcess::Reply::Line};

    bool start(const std::string &simulator, const std::string &echo)
    {
        if (station.start({simulator, "--port", "0"}) && floor.start({echo}))
            return true;
        progress("the servers did not start");
        return false;
    }
};

struct StepResult
{
    double commandsPerSecond = 0;
    double p50Us = 0;
    double p99Us = 0;
    double cpuUsPerCommand = 0;
};

// Closed-loop clients of one server, driven from one epoll set.
class ClientCrowd
{
public:
    explicit ClientCrowd(ServerProcess &server) : m_server(server), m_epoll(::epoll_create1(0))
    {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = kOutputMark;
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, server.outputFd(), &event);
    }
    ClientCrowd(const ClientCrowd &) = delete;
    ClientCrowd &operator=(const ClientCrowd &) = delete;
    ~ClientCrowd()
    {
        closeAll();
        ::close(m_epoll);
    }

    // Connects `count` more clients, a batch at a time, each answered once
    // before the next batch connects: a crowd never overruns the server's
    // listen backlog, and every session is set up when this returns.
    bool connect(int count)
    {
        m_sending = false;
        while (count > 0) {
            const int batch = std::min(count, kConnectBatch);
            for (int i = 0; i < batch; ++i) {
                if (!connectOne())
                    return false;
                send(m_clients.back());
            }
            count -= batch;
            if (!settle(10.0))
                return false;
        }
        m_latenciesUs.clear();
        return true;
    }

    StepResult run()
    {
        m_sending = true;
        m_recording = false;
        m_latenciesUs.clear();
        for (Client &client : m_clients)
            send(client);
        pumpFor(kWarmUpSeconds);
        const double cpuBefore = m_server.cpuSeconds();
        const qint64 startNs = monotonicNanoseconds();
        m_recording = true;
        pumpFor(kMeasureSeconds);
        m_recording = false;
        const qint64 endNs = monotonicNanoseconds();
        const double cpu = m_server.cpuSeconds() - cpuBefore;
        m_sending = false;
        settle(10.0);

        StepResult result;
        const double commands = double(m_latenciesUs.size());
        result.commandsPerSecond = commands / (double(endNs - startNs) / 1e9);
        result.p50Us = quantile(m_latenciesUs, 0.5);
        result.p99Us = quantile(m_latenciesUs, 0.99);
        result.cpuUsPerCommand = commands > 0 ? cpu * 1e6 / commands : 0;
        return result;
    }

    void closeAll()
    {
        for (const Client &client : m_clients)
            ::close(client.fd);
        m_clients.clear();
    }

    // Runs the loop for a while with nothing to send, so the server sees
    // what came before (connections, closes) and its output is read.
    void idle(double seconds)
    {
        m_sending = false;
        pumpFor(seconds);
    }

    long badReplies() const { return m_badReplies; }

private:
    static constexpr std::uint64_t kOutputMark = ~std::uint64_t(0);

    struct Client
    {
        int fd = -1;
        std::string input;
        qint64 sentNs = 0;
        bool waiting = false;
    };

    bool connectOne()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (fd < 0) {
            progress(std::string("socket: ") + std::strerror(errno));
            return false;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_server.port());
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            progress(std::string("connect: ") + std::strerror(errno));
            ::close(fd);
            return false;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = m_clients.size();
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
        m_clients.push_back({fd, {}, 0, false});
        return true;
    }

    void send(Client &client)
    {
        client.waiting = true;
        client.sentNs = monotonicNanoseconds();
        if (::write(client.fd, kCommand, sizeof kCommand - 1) != qsizetype(sizeof kCommand - 1))
            ++m_badReplies;
    }

    // Runs the loop until no client waits for a reply.
    bool settle(double timeoutSeconds)
    {
        const qint64 deadline = monotonicNanoseconds() + qint64(timeoutSeconds * 1e9);
        auto waiting = [this] {
            return std::any_of(m_clients.begin(), m_clients.end(), [](const Client &c) { return c.waiting; });
        };
        while (waiting()) {
            if (monotonicNanoseconds() > deadline) {
                progress(m_server.name() + ": replies missing");
                return false;
            }
            pumpOnce(100);
        }
        return true;
    }

    void pumpFor(double seconds)
    {
        const qint64 deadline = monotonicNanoseconds() + qint64(seconds * 1e9);
        for (qint64 now = monotonicNanoseconds(); now < deadline; now = monotonicNanoseconds())
            pumpOnce(int(std::max<qint64>(1, (deadline - now) / 1'000'000)));
    }

    void pumpOnce(int timeoutMs)
    {
        std::array<epoll_event, 256> events;
        const int ready = ::epoll_wait(m_epoll, events.data(), int(events.size()), timeoutMs);
        for (int i = 0; i < ready; ++i) {
            if (events[i].data.u64 == kOutputMark)
                m_server.drainOutput();
            else
                readFrom(m_clients[events[i].data.u64]);
        }
    }

    void readFrom(Client &client)
    {
        char buffer[65536];
        for (ssize_t got; (got = ::read(client.fd, buffer, sizeof buffer)) > 0;)
            client.input.append(buffer, std::size_t(got));
        for (std::size_t end; (end = replyEnd(client.input)) != std::string::npos;) {
            const qint64 now = monotonicNanoseconds();
            if (!client.waiting || !wellFormed(client.input.substr(0, end)))
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
        std::size_t from = 0;
        if (m_server.reply() == ServerProcess::Reply::Block) {
            from = input.find("<END ");
            if (from == std::string::npos)
                return from;
        }
        const std::size_t lineFeed = input.find('\n', from);
        return lineFeed == std::string::npos ? lineFeed : lineFeed + 1;
    }

    bool wellFormed(const std::string &reply) const
    {
        if (m_server.reply() == ServerProcess::Reply::Line)
            return reply == kCommand;
        return reply.rfind("<REPLY get(1, status)>\n1 status[", 0) == 0
                && reply.find("<END 0 (OK)>\n") == reply.size() - 13;
    }

    ServerProcess &m_server;
    int m_epoll;
    std::vector<Client> m_clients;
    std::vector<double> m_latenciesUs;
    bool m_sending = false;
    bool m_recording = false;
    long m_badReplies = 0;
};

// KiB of resident memory each of `count` connected, idle clients costs the
// server: a first client warms the code paths and goes, then the crowd
// connects, each client exchanging one command, and sits idle.
double idleClientKiB(ClientCrowd &crowd, const ServerProcess &server, int count)
{
    if (!crowd.connect(1))
        return -1;
    crowd.run();
    crowd.closeAll();
    crowd.idle(0.3);
    const long before = server.residentKiB();
    if (!crowd.connect(count))
        return -1;
    crowd.idle(0.3);
    const long after = server.residentKiB();
    crowd.closeAll();
    crowd.idle(0.3);
    return double(after - before) / double(count);
}

std::vector<Row> g_rows;

void addStepRows(int clients, const std::vector<StepResult> &station, const std::vector<StepResult> &floor,
                 double stationCostAtOne)
{
    auto medianOf = [](const std::vector<StepResult> &steps, double StepResult::*field) {
        std::vector<double> values;
        values.reserve(steps.size());
        for (const StepResult &step : steps)
            values.push_back(step.*field);
        return median(values);
    };
    const QString each =
            QStringLiteral("%1 client%2, median of %3").arg(clients).arg(clients == 1 ? "" : "s").arg(kRounds);
    const double rate = medianOf(station, &StepResult::commandsPerSecond);
    const double floorRate = medianOf(floor, &StepResult::commandsPerSecond);
    g_rows.push_back({u"Commands per second, "_s + each, number(rate, 0), number(floorRate, 0),
                      ratioText(rate / floorRate), u"≥ 0.50×"_s, yesNo(rate >= 0.5 * floorRate)});
    const double p50 = medianOf(station, &StepResult::p50Us), floor50 = medianOf(floor, &StepResult::p50Us);
    g_rows.push_back({u"Latency p50, "_s + each + u" (µs)"_s, number(p50), number(floor50), ratioText(p50 / floor50),
                      u"—"_s, u"—"_s});
    const double p99 = medianOf(station, &StepResult::p99Us), floor99 = medianOf(floor, &StepResult::p99Us);
    g_rows.push_back({u"Latency p99, "_s + each + u" (µs)"_s, number(p99), number(floor99), ratioText(p99 / floor99),
                      u"≤ 3.00×"_s, yesNo(p99 <= 3 * floor99)});
    const double cost = medianOf(station, &StepResult::cpuUsPerCommand);
    const double floorCost = medianOf(floor, &StepResult::cpuUsPerCommand);
    const double growth = cost / stationCostAtOne;
    g_rows.push_back({u"Server CPU per command, "_s + each + u" (µs)"_s, number(cost, 2), number(floorCost, 2),
                      ratioText(cost / floorCost),
                      QStringLiteral("×%1 of 1 client ≤ ×%2").arg(number(growth, 2)).arg(clients),
                      yesNo(growth <= clients)});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    raiseOpenFileLimit();
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    // Another build of the simulator may be named, to compare before and after.
    const QStringList arguments = QCoreApplication::arguments();
    const std::string simulator =
            arguments.size() > 1 ? arguments[1].toStdString() : dir + "/../simulator/command-station-simulator";
    const std::string echo = dir + "/bench-echo-server";

    double idleKiB[2] = {0, 0};
    long bad = 0;
    {
        progress("resident memory per idle client: " + std::to_string(kIdleClients) + " clients each");
        ServerPair fresh;
        if (!fresh.start(simulator, echo))
            return 1;
        ClientCrowd stationCrowd(fresh.station), floorCrowd(fresh.floor);
        idleKiB[0] = idleClientKiB(stationCrowd, fresh.station, kIdleClients);
        idleKiB[1] = idleClientKiB(floorCrowd, fresh.floor, kIdleClients);
        bad += stationCrowd.badReplies() + floorCrowd.badReplies();
    }

    ServerPair servers;
    if (!servers.start(simulator, echo))
        return 1;
    ClientCrowd stationCrowd(servers.station), floorCrowd(servers.floor);
    double stationCostAtOne = 0;
    for (const int clients : kClientCounts) {
        progress(std::to_string(clients) + " closed-loop clients, simulator and floor taking turns");
        if (!stationCrowd.connect(clients) || !floorCrowd.connect(clients)) {
            progress("the clients did not connect");
            return 1;
        }
        std::vector<StepResult> stationSteps, floorSteps;
        for (int round = 0; round < kRounds; ++round) {
            const bool stationFirst = round % 2 == 0;
            for (const bool isStation : {stationFirst, !stationFirst}) {
                const StepResult step = (isStation ? stationCrowd : floorCrowd).run();
                (isStation ? stationSteps : floorSteps).push_back(step);
                std::fprintf(stderr, "simulator-bench:   %s: %.0f/s, p50 %.1f us, p99 %.1f us, %.2f us CPU each\n",
                             isStation ? "simulator" : "line echo", step.commandsPerSecond, step.p50Us, step.p99Us,
                             step.cpuUsPerCommand);
            }
        }
        if (clients == 1) {
            std::vector<double> costs;
            costs.reserve(stationSteps.size());
            for (const StepResult &step : stationSteps)
                costs.push_back(step.cpuUsPerCommand);
            stationCostAtOne = median(costs);
        }
        addStepRows(clients, stationSteps, floorSteps, stationCostAtOne);
        stationCrowd.closeAll();
        floorCrowd.closeAll();
        stationCrowd.idle(0.2);
        floorCrowd.idle(0.2);
    }
    bad += stationCrowd.badReplies() + floorCrowd.badReplies();

    g_rows.push_back({QStringLiteral("Resident memory per idle client, %1 clients (KiB)").arg(kIdleClients),
                      number(idleKiB[0], 2), number(idleKiB[1], 2), ratioText(idleKiB[0] / idleKiB[1]), u"≤ 32 KiB"_s,
                      yesNo(idleKiB[0] >= 0 && idleKiB[0] <= 32)});
    g_rows.push_back({u"Every reply whole, in order and as expected"_s,
                      bad == 0 ? u"yes"_s : QString::number(bad) + u" bad"_s, u"—"_s, u"—"_s, u"all"_s,
                      yesNo(bad == 0)});
    printTable(g_rows, u"Simulator"_s, u"Line echo"_s);
    return 0;
}
