// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Keeps a plain field's text unselected when Tab or Shift+Tab brings the
// focus, as a click does; a line edit would select all of it by itself, and
// a key typed should go in at the cursor.

#include <QObject>

class QLineEdit;

class NeverSelectWhenFocused : public QObject
{
public:
    // Watches `box`, which owns it.
    explicit NeverSelectWhenFocused(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_box = nullptr;
};
