// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keptmemory.h"

#include <QCoreApplication>

#include "childprogram.h"
#include "waituntil.h"

namespace {
qint64 ownResidentKiB()
{
    return TestKit::residentKiB(QCoreApplication::applicationPid());
}
} // namespace

TestKit::KeptMemory::KeptMemory() : m_blocks(512)
{
    for (QByteArray &block : m_blocks)
        block = QByteArray(64 * 1024, 'b');
    for (qsizetype i = 0; i < m_blocks.size(); i += 2)
        m_blocks[i].clear();
    m_residentKiB = ownResidentKiB();
}

bool TestKit::KeptMemory::handedBack(int timeoutMs) const
{
    return waitUntil([this] { return ownResidentKiB() < m_residentKiB - 8 * 1024; }, timeoutMs);
}
