// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/pictureicon.h"

// Offered at the sizes title bars and task bars ask for, so that neither
// scales a picture of another size.
QIcon programIcon()
{
    return pictureIcon(QStringLiteral(":/artwork/icon.svg"), {QSize(16, 16), QSize(32, 32)});
}
