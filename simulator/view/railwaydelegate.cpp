// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "railwaydelegate.h"

#include "powerlamp.h"
#include "station.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionProgressBar>

namespace {

constexpr int kMarksPerRow = 16;
// A wider gap after every fourth mark, so that a mark's number can be told
// by counting.
constexpr int kMarksPerGroup = 4;
const QColor kLit(240, 180, 0);

// The side of one function mark, and the room it takes with its gap.
qreal markSize(const QStyleOptionViewItem &option)
{
    return option.fontMetrics.height() * 0.7;
}

qreal markPitch(const QStyleOptionViewItem &option)
{
    return markSize(option) * 1.3;
}

// The colour of text in the cell, selected or not.
QColor ink(const QStyleOptionViewItem &option)
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    return option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
}

} // namespace

RailwayDelegate::RailwayDelegate(Picture picture, QObject *parent) : QStyledItemDelegate(parent), m_picture(picture) {}

// The cell's background and selection as for any cell, then the picture.
void RailwayDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, view);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    switch (m_picture) {
    case Picture::SpeedBar:
        paintSpeed(painter, option, index);
        break;
    case Picture::Arrow:
        paintArrow(painter, option, index);
        break;
    case Picture::FunctionMarks:
        paintMarks(painter, option, index);
        break;
    case Picture::Lamp:
        paintLamp(painter, option, index);
        break;
    }
    painter->restore();
}

QSize RailwayDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int line = option.fontMetrics.height();
    switch (m_picture) {
    case Picture::SpeedBar:
        return QSize(8 * line, line + line / 2);
    case Picture::FunctionMarks: {
        const qreal pitch = markPitch(option);
        const int columns = kMarksPerRow + kMarksPerRow / kMarksPerGroup + 1;
        return QSize(qCeil(columns * pitch), qCeil(2.5 * pitch));
    }
    default:
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(2 * line, line + line / 2));
    }
}

void RailwayDelegate::paintSpeed(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int line = option.fontMetrics.height();
    QStyleOptionProgressBar bar;
    bar.initFrom(option.widget);
    bar.state |= QStyle::State_Horizontal;
    bar.rect = option.rect.adjusted(line / 4, line / 8, -line / 4, -line / 8);
    bar.minimum = 0;
    bar.maximum = Station::kMaxSpeed;
    bar.progress = index.data().toInt();
    bar.text = index.data().toString();
    bar.textVisible = true;
    bar.textAlignment = Qt::AlignCenter;
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, view);
}

// Pointing right for forward, left for backward.
void RailwayDelegate::paintArrow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const qreal size = option.fontMetrics.height() * 0.8;
    const QPointF centre = QRectF(option.rect).center();
    QPainterPath arrow;
    arrow.moveTo(-size, -size / 6);
    arrow.lineTo(size / 5, -size / 6);
    arrow.lineTo(size / 5, -size / 2);
    arrow.lineTo(size, 0);
    arrow.lineTo(size / 5, size / 2);
    arrow.lineTo(size / 5, size / 6);
    arrow.lineTo(-size, size / 6);
    arrow.closeSubpath();
    painter->translate(centre);
    if (index.data(kBitsRole).toInt() != 0)
        painter->scale(-1, 1);
    painter->fillPath(arrow, ink(option));
}

// Two rows of sixteen in groups of four, F0 top left; a lit one is filled.
void RailwayDelegate::paintMarks(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const quint32 on = index.data(kBitsRole).toUInt();
    const qreal size = markSize(option);
    const qreal pitch = markPitch(option);
    const QPointF origin = QRectF(option.rect).topLeft() + QPointF(pitch / 2, pitch / 4);
    painter->setPen(QPen(ink(option), size / 8));
    for (int function = 0; function < Station::kFunctionCount; ++function) {
        const int column = function % kMarksPerRow;
        const int group = column / kMarksPerGroup;
        const int row = function / kMarksPerRow;
        const QPointF at = origin + QPointF((column + group / 2.0) * pitch, row * pitch);
        painter->setBrush(on & (1u << function) ? QBrush(kLit) : QBrush(Qt::NoBrush));
        painter->drawEllipse(QRectF(at, QSizeF(size, size)));
    }
}

void RailwayDelegate::paintLamp(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int line = option.fontMetrics.height();
    const bool lit = index.data(kBitsRole).toInt() != 0;
    const QRectF disc(option.rect.left() + line / 2.0, option.rect.center().y() - line * 0.4, line * 0.8, line * 0.8);
    painter->setPen(QPen(ink(option), line / 10.0));
    painter->setBrush(lit ? QBrush(QColor(PowerLamp::kLitGreen)) : QBrush(Qt::NoBrush));
    painter->drawEllipse(disc);
    const QRect words = option.rect.adjusted(2 * line, 0, 0, 0);
    painter->drawText(words, Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
}
