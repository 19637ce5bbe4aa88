// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The pictures are compiled into this static library, whose resources Qt
// finds only once the program has asked for them by name: every way into
// the artwork asks first.
void registerArtwork();
