// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "privatenetwork.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

bool writeFile(const char *path, const char *text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const auto length = ssize_t(std::strlen(text));
    const bool written = ::write(fd, text, size_t(length)) == length;
    ::close(fd);
    return written;
}

// A new user namespace lets an ordinary user own the new network namespace;
// the process keeps its own user and group ids inside it.
bool enterAsOrdinaryUser()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    char map[64];
    std::snprintf(map, sizeof map, "%u %u 1", unsigned(uid), unsigned(uid));
    if (!writeFile("/proc/self/uid_map", map))
        return false;
    writeFile("/proc/self/setgroups", "deny");
    std::snprintf(map, sizeof map, "%u %u 1", unsigned(gid), unsigned(gid));
    return writeFile("/proc/self/gid_map", map);
}

bool bringLoopbackUp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (up) {
        request.ifr_flags = short(request.ifr_flags | IFF_UP | IFF_RUNNING);
        up = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(fd);
    return up;
}

} // namespace

bool PrivateNetwork::enter()
{
    const bool entered = ::geteuid() == 0 ? ::unshare(CLONE_NEWNET) == 0 : enterAsOrdinaryUser();
    return entered && bringLoopbackUp();
}
