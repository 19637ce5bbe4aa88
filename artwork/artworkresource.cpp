// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/artworkresource.h"

#include <QtGlobal>

// Qt registers a resource once, however often it is asked.
void registerArtwork()
{
    Q_INIT_RESOURCE(artwork);
}
