// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Received text as the output box is given it, and the box's text as it is
// read back. The box keeps a text block per line, and building a block costs
// microseconds: a 64 KiB list of a couple of thousand lines took milliseconds
// a frame. Here the lines go a few to a block, broken inside it by line
// separators, which the box draws as the line breaks they stand for.
namespace OutputText {
QString inBlocks(const QString &received);
// The box's own text (a block ended by a paragraph separator, a line inside
// a block by a line separator) as the reply read: each line break a line
// feed, every other character as it is.
QString asReply(QString shown);
} // namespace OutputText
