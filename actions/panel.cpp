// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/panel.h"

#include "actions/panelactions.h"
#include "link/memorypolicy.h"
#include "window/main.h"

namespace {
// Past this long reading a flood, the link leaves the rest for the next
// event-loop pass, so the window keeps answering: a pass and a frame's
// layout of the output box that may follow it stay within 10 ms.
constexpr std::chrono::milliseconds kReadBudget{5};
} // namespace

Panel::Panel(quint16 stationPort)
    : m_window(std::make_unique<Main>()), m_link(std::make_unique<StationLink>(kReadBudget)),
      m_actions(std::make_unique<PanelActions>(m_window.get(), m_link.get(), stationPort))
{
    MemoryPolicy::handBackAfterLongReplies(*m_link);
}

Panel::~Panel() = default;
