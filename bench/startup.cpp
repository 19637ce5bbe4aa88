// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "startup.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "firstpaint.h"

StartupSample runToFirstPaint(const QString &program, const QStringList &arguments)
{
    StartupSample sample;
    int output[2];
    if (::pipe(output) != 0)
        return sample;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);

    std::vector<std::string> words = {program.toStdString()};
    for (const QString &argument : arguments)
        words.push_back(argument.toStdString());
    std::vector<char *> argv;
    argv.reserve(words.size() + 1);
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string &path = words.front();
    pid_t child = 0;
    const qint64 startNs = monotonicNanoseconds();
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        return sample;
    }

    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, got);
    ::close(output[0]);

    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);

    long long paintedNs = 0;
    const auto at = text.find("first-paint ");
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "first-paint %lld", &paintedNs) != 1)
        return sample;
    sample.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    sample.toFirstPaintMs = double(paintedNs - startNs) / 1e6;
    sample.peakRssMiB = double(usage.ru_maxrss) / 1024.0;
    return sample;
}
