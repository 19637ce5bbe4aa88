// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keptmemory.h"

#include <QCoreApplication>

#include "childprogram.h"
#include "waituntil.h"

TestKit::KeptMemory::KeptMemory()
{
    for (int i = 0; i < 512; ++i)
        m_blocks.append(QByteArray(64 * 1024, 'b'));
    for (qsizetype i = 0; i < m_blocks.size(); i += 2)
        m_blocks[i].clear();
    m_residentKiB = residentKiB(QCoreApplication::applicationPid());
}

bool TestKit::KeptMemory::handedBack(int timeoutMs) const
{
    const auto resident = [] { return residentKiB(QCoreApplication::applicationPid()); };
    return waitUntil([&] { return resident() < m_residentKiB - 8 * 1024; }, timeoutMs);
}
