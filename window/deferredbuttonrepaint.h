// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lets the window's buttons draw their pressed and released look at the event
// loop's next pass, as every other control draws its changes, instead of
// redrawing synchronously inside the press and again inside the release before
// the click is reported. A click's command then leaves before the button is
// redrawn; what the operator sees is the same, a moment later.

#include <QObject>

class QWidget;

class DeferredButtonRepaint : public QObject
{
    Q_OBJECT

public:
    // Applies to every button inside `window`; owned by `window`.
    static void install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
