// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

using namespace TestKit;

namespace {

// Words for exec: the texts as they stay alive, and pointers to them.
struct Words
{
    explicit Words(const QStringList &texts)
    {
        for (const QString &text : texts)
            owned.push_back(text.toStdString());
        for (std::string &word : owned)
            pointers.push_back(word.data());
        pointers.push_back(nullptr);
    }
    std::vector<std::string> owned;
    std::vector<char *> pointers;
};

} // namespace

qint64 TestKit::residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

QProcessEnvironment TestKit::environmentWithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

ChildProgram::ChildProgram(const QString &program, const QStringList &arguments, Console console,
                           const QProcessEnvironment &environment)
    : m_console(console)
{
    int output[2], errors[2];
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(errors, O_CLOEXEC) != 0)
        return;
    // Output that is dropped goes through a pipe with room for a burst and
    // is drained as fast as it comes: a full pipe would hold the program
    // at its next console write, and a bench would time that wait.
    if (console == Console::Drop)
        ::fcntl(output[0], F_SETPIPE_SZ, 1024 * 1024);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    Words argv(QStringList{program} + arguments), envp(environment.toStringList());
    pid_t pid = -1;
    m_startedNs = monotonicNs();
    const int spawned =
            posix_spawn(&pid, argv.pointers.front(), &actions, nullptr, argv.pointers.data(), envp.pointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(errors[1]);
    if (spawned != 0) {
        ::close(output[0]);
        ::close(errors[0]);
        return;
    }
    m_pid = pid;
    m_reader = std::thread([this, output, errors] { readOutput(output[0], errors[0]); });
}

ChildProgram::~ChildProgram()
{
    if (started() && !m_ended) {
        ::kill(pid_t(m_pid), SIGKILL);
        reap(-1);
    }
    if (m_reader.joinable())
        m_reader.join();
}

void ChildProgram::readOutput(int output, int errors)
{
    std::vector<pollfd> open = {{output, POLLIN, 0}, {errors, POLLIN, 0}};
    char buffer[64 * 1024];
    while (open[0].fd >= 0 || open[1].fd >= 0) {
        if (::poll(open.data(), open.size(), -1) < 0)
            continue;
        for (pollfd &stream : open) {
            if (stream.fd < 0 || stream.revents == 0)
                continue;
            const ssize_t got = ::read(stream.fd, buffer, sizeof buffer);
            if (got > 0 && stream.fd == output) {
                take(buffer, got);
            } else if (got > 0) {
                const std::lock_guard lock(m_lock);
                m_errors.append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                ::close(stream.fd);
                stream.fd = -1;
            }
        }
    }
    const std::lock_guard lock(m_lock);
    m_outputClosed = true;
    m_firstLineIn.notify_all();
}

void ChildProgram::take(const char *bytes, qsizetype size)
{
    const std::lock_guard lock(m_lock);
    qsizetype rest = 0;
    if (!m_firstLineDone) {
        const char *end = static_cast<const char *>(std::memchr(bytes, '\n', size_t(size)));
        rest = end ? end - bytes + 1 : size;
        m_firstLine.append(bytes, end ? rest - 1 : rest);
        m_firstLineDone = end != nullptr;
        if (m_firstLineDone)
            m_firstLineIn.notify_all();
    }
    if (m_console == Console::Keep)
        m_afterFirstLine.append(bytes + rest, size - rest);
}

quint16 ChildProgram::waitForPort(int timeoutMs)
{
    std::unique_lock lock(m_lock);
    m_firstLineIn.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_firstLineDone || m_outputClosed; });
    if (!m_firstLineDone)
        return 0;
    return quint16(m_firstLine.mid(m_firstLine.lastIndexOf(' ') + 1).toUInt());
}

bool ChildProgram::firstLineDone() const
{
    const std::lock_guard lock(m_lock);
    return m_firstLineDone;
}

QByteArray ChildProgram::firstLine() const
{
    const std::lock_guard lock(m_lock);
    return m_firstLineDone ? m_firstLine : QByteArray();
}

QByteArray ChildProgram::console(qsizetype offset) const
{
    const std::lock_guard lock(m_lock);
    return m_afterFirstLine.mid(offset);
}

QByteArray ChildProgram::errors() const
{
    const std::lock_guard lock(m_lock);
    return m_errors;
}

double ChildProgram::cpuSeconds() const
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(m_pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // After the name in parentheses come the state (field 3) on to utime
    // and stime (fields 14 and 15).
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

// Collects the program's end, waiting up to `timeoutMs` (-1: for good).
bool ChildProgram::reap(int timeoutMs)
{
    const qint64 deadline = monotonicNs() + qint64(timeoutMs) * 1'000'000;
    rusage usage{};
    while (!m_ended) {
        const int options = timeoutMs < 0 ? 0 : WNOHANG;
        const pid_t ended = ::wait4(pid_t(m_pid), &m_status, options, &usage);
        if (ended == pid_t(m_pid)) {
            m_ended = true;
            m_peakResidentMiB = double(usage.ru_maxrss) / 1024.0;
        } else if (ended < 0 && errno != EINTR) {
            return false;
        } else if (timeoutMs >= 0 && monotonicNs() >= deadline) {
            return false;
        } else if (timeoutMs >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

bool ChildProgram::running()
{
    return started() && !m_ended && !reap(0);
}

bool ChildProgram::stop(int timeoutMs)
{
    if (!started() || m_ended)
        return started();
    ::kill(pid_t(m_pid), SIGTERM);
    if (reap(timeoutMs))
        return true;
    ::kill(pid_t(m_pid), SIGKILL);
    reap(-1);
    return false;
}

int ChildProgram::waitForExit(int timeoutMs)
{
    if (!started() || !reap(timeoutMs))
        return -1;
    if (m_reader.joinable())
        m_reader.join();
    return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}
