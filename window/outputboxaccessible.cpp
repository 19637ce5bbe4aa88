// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/outputboxaccessible.h"

#include <QTextCursor>

#include "window/outputbox.h"

OutputBoxAccessible::OutputBoxAccessible(QWidget *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

OutputBox *OutputBoxAccessible::box() const
{
    return static_cast<OutputBox *>(widget());
}

void *OutputBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State OutputBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    if (box()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

QString OutputBoxAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return text(0, characterCount());
    return QAccessibleWidget::text(type);
}

void OutputBoxAccessible::setText(QAccessible::Text type, const QString &text)
{
    if (type != QAccessible::Value)
        QAccessibleWidget::setText(type, text);
    else if (!box()->isReadOnly())
        box()->setPlainText(text);
}

void OutputBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = box()->textCursor();
    const bool selected = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = selected ? cursor.selectionStart() : 0;
    *endOffset = selected ? cursor.selectionEnd() : 0;
}

int OutputBoxAccessible::selectionCount() const
{
    return box()->textCursor().hasSelection() ? 1 : 0;
}

void OutputBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void OutputBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        setCursorPosition(cursorPosition());
}

void OutputBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setTextCursor(cursorAt(startOffset, endOffset));
}

int OutputBoxAccessible::cursorPosition() const
{
    return box()->textCursor().position();
}

void OutputBoxAccessible::setCursorPosition(int position)
{
    box()->setTextCursor(cursorAt(position));
}

QString OutputBoxAccessible::text(int startOffset, int endOffset) const
{
    const int count = characterCount();
    return box()->textAsReply(qBound(0, startOffset, count), qBound(0, endOffset, count));
}

// A paragraph is a line of the reply, as the text interface's own search
// finds it in text(); the box's document would give its text blocks, several
// lines of the reply each. The other units are the document's, as for any
// text box.
QString OutputBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                              int *endOffset) const
{
    if (boundaryType == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
    return textOf(boundaries(boundaries(offset, boundaryType).first - 1, boundaryType), startOffset, endOffset);
}

QString OutputBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                             int *endOffset) const
{
    if (boundaryType == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
    return textOf(boundaries(boundaries(offset, boundaryType).second, boundaryType), startOffset, endOffset);
}

QString OutputBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                          int *endOffset) const
{
    if (boundaryType == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    return textOf(boundaries(offset, boundaryType), startOffset, endOffset);
}

int OutputBoxAccessible::characterCount() const
{
    return box()->document()->characterCount() - 1;
}

QRect OutputBoxAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (offset < 0 || character.isEmpty())
        return {};
    QRect rect = box()->cursorRect(cursorAt(offset));
    rect.setWidth(box()->fontMetrics().horizontalAdvance(character));
    return rect.translated(box()->viewport()->mapToGlobal(QPoint(0, 0)));
}

int OutputBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = box()->viewport()->mapFromGlobal(point);
    return box()->viewport()->rect().contains(at) ? box()->cursorForPosition(at).position() : -1;
}

// As for a one-line field: the caret goes to the end, then to the start, and
// the box scrolls to keep it in view.
void OutputBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    setCursorPosition(endIndex);
    setCursorPosition(startIndex);
}

// One font and one colour throughout: the whole text is one run with no
// attributes of its own.
QString OutputBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void OutputBoxAccessible::deleteText(int startOffset, int endOffset)
{
    cursorAt(startOffset, endOffset).removeSelectedText();
}

void OutputBoxAccessible::insertText(int offset, const QString &text)
{
    cursorAt(offset).insertText(text);
}

void OutputBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    cursorAt(startOffset, endOffset).insertText(text);
}

QTextCursor OutputBoxAccessible::cursorAt(int offset, int end) const
{
    const int count = characterCount();
    QTextCursor cursor(box()->document());
    cursor.setPosition(qBound(0, offset, count));
    if (end >= 0)
        cursor.setPosition(qBound(0, end, count), QTextCursor::KeepAnchor);
    return cursor;
}

QPair<int, int> OutputBoxAccessible::boundaries(int offset, QAccessible::TextBoundaryType boundaryType) const
{
    return QAccessible::qAccessibleTextBoundaryHelper(cursorAt(offset), boundaryType);
}

QString OutputBoxAccessible::textOf(QPair<int, int> range, int *startOffset, int *endOffset) const
{
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
}
