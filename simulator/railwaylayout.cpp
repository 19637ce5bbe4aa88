// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "railwaylayout.h"

#include <QString>

RailwayLayout RailwayLayout::builtIn()
{
    RailwayLayout layout;
    layout.locomotives = {
            {1000, 3, "Tank engine"},
            {1001, 24, QStringLiteral("Máquina de maniobras").toLatin1()},
            {1002, 78, "Express"},
            {1003, 5, "Freight diesel"},
    };
    layout.accessories = {
            {20000, 1, "Station entrance"},
            {20001, 2, "Yard turnout"},
            {20002, 3, "Home signal"},
    };
    return layout;
}
