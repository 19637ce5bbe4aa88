// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "floodstation.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "firstpaint.h"
#include "loopbacklistener.h"

FloodStation::FloodStation(qint64 totalBytes) : m_total(totalBytes)
{
    const LoopbackListener listener = listenOnLoopback(1);
    m_listenFd = listener.fd;
    m_port = listener.port;
    m_thread = std::thread([this] { run(); });
}

FloodStation::~FloodStation()
{
    {
        std::lock_guard lock(m_lock);
        m_quit = true;
    }
    m_wake.notify_all();
    // Unblocks an accept that never got its client.
    ::shutdown(m_listenFd, SHUT_RDWR);
    // Unblocks a send that a reader has stopped taking.
    if (m_accepted.load())
        ::shutdown(m_clientFd, SHUT_RDWR);
    m_thread.join();
    if (m_clientFd >= 0)
        ::close(m_clientFd);
    ::close(m_listenFd);
}

void FloodStation::startFlood()
{
    {
        std::lock_guard lock(m_lock);
        m_go = true;
    }
    m_wake.notify_all();
}

QByteArray FloodStation::pattern()
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

void FloodStation::run()
{
    m_clientFd = ::accept(m_listenFd, nullptr, nullptr);
    if (m_clientFd < 0)
        return;
    m_accepted.store(true);
    {
        std::unique_lock lock(m_lock);
        m_wake.wait(lock, [this] { return m_go || m_quit; });
        if (m_quit)
            return;
    }
    const QByteArray text = pattern();
    m_startNs.store(monotonicNanoseconds());
    qint64 sent = 0;
    while (sent < m_total) {
        const qint64 offset = sent % text.size();
        const qint64 length = std::min<qint64>(text.size() - offset, m_total - sent);
        const ssize_t written = ::send(m_clientFd, text.constData() + offset, length, MSG_NOSIGNAL);
        if (written <= 0)
            return;
        sent += written;
    }
}
