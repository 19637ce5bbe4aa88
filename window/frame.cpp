#include "window/frame.h"

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
    if (title().isEmpty())
        return QRect();
    const QFontMetrics metrics(captionFont());
    return QRect(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                 metrics.height());
}

// Painted here rather than by the group box, so that only the caption is bold
// and coloured: a font or palette set on the group box would pass on to every
// control inside the panel.
void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect caption = captionRect();

    // An etched border, its top line running through the middle of the caption.
    qDrawShadeRect(&painter, rect().adjusted(0, caption.height() / 2, 0, 0), palette(), true, 1);
    if (caption.isEmpty())
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
