// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>

namespace TestKit {

// 16 MiB freed between blocks still in use, where glibc keeps them until the
// program hands freed memory back.
class KeptMemory
{
public:
    KeptMemory();
    // Whether this process's resident size falls by 8 MiB within `timeoutMs`.
    bool handedBack(int timeoutMs) const;

private:
    QList<QByteArray> m_blocks;
    qint64 m_residentKiB = 0;
};

} // namespace TestKit
