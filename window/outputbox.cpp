// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/outputbox.h"

#include <QMimeData>
#include <QTextCursor>

#include "window/outputtext.h"

void OutputBox::showReceived(const QString &received)
{
    setPlainText(OutputText::inBlocks(received));
}

QString OutputBox::textAsReply(int start, int end) const
{
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return OutputText::asReply(cursor.selectedText());
}

// The reply is plain text and goes as it came: a text box's own copy writes
// a no-break space as a blank, and adds rich forms a reply has no use for.
QMimeData *OutputBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(OutputText::asReply(textCursor().selectedText()));
    return data;
}
