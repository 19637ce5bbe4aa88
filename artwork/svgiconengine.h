// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Draws an icon from an SVG picture at whatever size and device pixel ratio
// it is asked for, so the window's pictures stay sharp on scaled screens.

#include <QHash>
#include <QIconEngine>
#include <QPixmap>

class SvgIconEngine : public QIconEngine
{
public:
    // `sizes` are the sizes the picture is offered in (a window icon's list);
    // any other size is drawn as well.
    explicit SvgIconEngine(const QString &fileName, const QList<QSize> &sizes = {});

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    QString m_fileName;
    QList<QSize> m_sizes;
    QHash<QString, QPixmap> m_cache;
};
