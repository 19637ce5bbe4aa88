// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Draws the cells of the railway's tables that show a state as a picture:
// the speed as a bar of 0 to 127 with its number, the direction as an arrow,
// the functions as lit and dark marks, an accessory's state as a lamp with
// its number. All of it is drawn from shapes in units of the font's line, so
// it stays sharp and in proportion at any size, font and screen density.
// The cell's text stays what a screen reader reads.

#include <QStyledItemDelegate>

class RailwayDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    enum class Picture { SpeedBar, Arrow, FunctionMarks, Lamp };
    // The functions that are on, bit F for function F, for FunctionMarks.
    static constexpr int kBitsRole = Qt::UserRole + 1;

    explicit RailwayDelegate(Picture picture, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintSpeed(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintArrow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintMarks(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintLamp(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    const Picture m_picture;
};
