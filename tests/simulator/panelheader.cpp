// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Read by check-includes.sh with the simulator's include roots alone: the
// shared headers are found first, then PANEL_HEADER must not be.
#include "artwork/pictureicon.h"
#include "common/displayguard.h"
#include "common/screenframe.h"

#include PANEL_HEADER
