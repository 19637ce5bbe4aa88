// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A program run as a child process, the way a user starts it from a
// console: started at once (the moment before is noted), its first line
// read for the port it names, its resident memory and processor time, and
// its end. A thread of its own reads what it prints, so it never blocks on
// a full pipe, whatever this process is doing.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "clock.h"

namespace TestKit {

// Resident memory of process `pid` in KiB, from /proc; -1 when unknown.
qint64 residentKiB(qint64 pid);

// This environment as a desktop without a session has it: no display and no
// platform named, so that a program started in it makes Qt choose its own.
QProcessEnvironment environmentWithoutDisplay();

class ChildProgram
{
public:
    // What becomes of the output after its first line: kept to be read,
    // or taken in batches and dropped.
    enum class Console { Keep, Drop };

    ChildProgram(const QString &program, const QStringList &arguments, Console console = Console::Keep,
                 const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    // Kills the program if it still runs.
    ~ChildProgram();
    ChildProgram(const ChildProgram &) = delete;
    ChildProgram &operator=(const ChildProgram &) = delete;

    bool started() const { return m_pid > 0; }
    qint64 pid() const { return m_pid; }
    // The monotonic clock, in nanoseconds, just before the program started.
    qint64 startedNs() const { return m_startedNs; }

    // Waits for the first line and returns the port its last word names;
    // 0 when the program ends or stays silent first.
    quint16 waitForPort(int timeoutMs = 10000);
    // The first line without its line break, once it is in.
    QByteArray firstLine() const;
    // What it printed after its first line, from `offset` on (nothing when
    // the console is dropped), and on its error output.
    QByteArray console(qsizetype offset = 0) const;
    QByteArray errors() const;

    qint64 residentKiB() const { return TestKit::residentKiB(m_pid); }
    // User and system time of all its threads so far, in seconds.
    double cpuSeconds() const;

    bool running();
    // Asks the program to end (SIGTERM) and waits; true when it ended in
    // time, else it is killed.
    bool stop(int timeoutMs = 10000);
    // Waits for the program to end by itself: its exit code, or -1 when a
    // signal ended it or it still runs after `timeoutMs`.
    int waitForExit(int timeoutMs = 10000);
    // The most resident memory it ever held, in MiB, once it has ended.
    double peakResidentMiB() const { return m_peakResidentMiB; }

private:
    void readOutput(int output, int errors);
    void take(const char *bytes, qsizetype size);
    bool firstLineDone() const;
    bool reap(int timeoutMs);

    const Console m_console;
    qint64 m_pid = -1;
    qint64 m_startedNs = 0;
    bool m_ended = false;
    int m_status = 0;
    double m_peakResidentMiB = 0;
    mutable std::mutex m_lock;
    std::condition_variable m_firstLineIn;
    QByteArray m_firstLine;
    bool m_firstLineDone = false;
    bool m_outputClosed = false;
    QByteArray m_afterFirstLine;
    QByteArray m_errors;
    std::thread m_reader;
};

} // namespace TestKit
