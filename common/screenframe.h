// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One frame of the screen: the most often the windows of both programs draw
// again what keeps changing, the panel's output box and the simulator's
// railway. A change between two frames would never be seen.
constexpr int kScreenFrameMs = 16;
