// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Several controls of one kind sharing one name, told apart by an index.
// Indices need not be contiguous; asking for one that does not exist gives
// nullptr rather than a crash.

#include <QList>
#include <QMap>

template <typename Control>
class ControlArray
{
public:
    void insert(int index, Control *control) { m_controls.insert(index, control); }
    Control *operator()(int index) const { return m_controls.value(index, nullptr); }
    QList<int> indices() const { return m_controls.keys(); }
    qsizetype count() const { return m_controls.size(); }

private:
    QMap<int, Control *> m_controls;
};
