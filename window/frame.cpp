// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/frame.h"

#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace {

// The caption stands on the panel's top border, a little in from the left.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionPadding = 2;

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void Frame::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

QFont Frame::captionFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QRect Frame::captionRect() const
{
    if (m_captionMeasured && m_measuredTitle == title())
        return m_captionRect;
    m_measuredTitle = title();
    m_captionMeasured = true;
    if (m_measuredTitle.isEmpty()) {
        m_captionRect = QRect();
    } else {
        const QFontMetrics metrics(captionFont());
        m_captionRect = QRect(kCaptionIndent, 0, metrics.horizontalAdvance(m_measuredTitle) + 2 * kCaptionPadding,
                              metrics.height());
    }
    return m_captionRect;
}

void Frame::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_captionMeasured = false;
    QGroupBox::changeEvent(event);
}

// Painted here rather than by the group box, so that only the caption is bold
// and coloured: a font or palette set on the group box would pass on to every
// control inside the panel. Only what the repaint reaches is drawn: shaping
// the caption is the dearest part, and a pressed button never reaches it.
void Frame::paintEvent(QPaintEvent *event)
{
    const QRect caption = captionRect();
    const QRect border = rect().adjusted(0, caption.height() / 2, 0, 0);
    const QRect inside = border.adjusted(2, 2, -2, -2);
    const QRegion &dirty = event->region();
    const bool borderReached = !inside.contains(dirty.boundingRect());
    const bool captionReached = !caption.isEmpty() && dirty.intersects(caption);
    if (!borderReached && !captionReached)
        return;

    QPainter painter(this);
    // An etched border, its top line running through the middle of the caption.
    if (borderReached)
        qDrawShadeRect(&painter, border, palette(), true, 1);
    if (!captionReached)
        return;

    painter.fillRect(caption, palette().window());
    painter.setFont(captionFont());
    painter.setPen(captionPenColor());
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

QColor Frame::captionPenColor() const
{
    if (!isEnabled())
        return palette().color(QPalette::Disabled, QPalette::WindowText);
    return m_captionColor.isValid() ? m_captionColor : palette().color(QPalette::Active, QPalette::WindowText);
}
