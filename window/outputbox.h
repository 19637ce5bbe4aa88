// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The output box: shows the station's replies laid out a few lines to a text
// block, which keeps a long list quick to lay out, and gives what it shows to
// a copy, a selection or a screen reader as the reply's own text.

#include <QPlainTextEdit>

class OutputBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

    // Shows `received` in place of what the box showed.
    void showReceived(const QString &received);
    // The box's text from `start` to `end` (positions in its document), each
    // line break a line feed.
    QString textAsReply(int start, int end) const;

protected:
    QMimeData *createMimeDataFromSelection() const override;
};
