// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lets a button draw its pressed and released look at the event loop's next
// pass, as every other control draws its changes, instead of redrawing
// synchronously inside the press and again inside the release before the
// click is reported. A click's command then leaves before the button is
// redrawn; what the operator sees is the same, a moment later.

#include <QObject>

class QAbstractButton;

class DeferredButtonRepaint : public QObject
{
public:
    // Watches `button`, which owns it.
    explicit DeferredButtonRepaint(QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_button = nullptr;
};
