// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork/svgiconengine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

SvgIconEngine::SvgIconEngine(const QString &fileName, const QList<QSize> &sizes) : m_fileName(fileName), m_sizes(sizes)
{}

void SvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device()->devicePixelRatioF();
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, picture);
}

// Qt asks for the size in device pixels, so rendering at exactly that size is
// what keeps the picture sharp. A disabled control shows it greyed, like its
// captioned neighbours.
QPixmap SvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    const QString key = QStringLiteral("%1x%2/%3").arg(size.width()).arg(size.height()).arg(mode);
    if (const auto cached = m_cache.constFind(key); cached != m_cache.cend())
        return *cached;

    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QSvgRenderer(m_fileName).render(&painter, QRectF(picture.rect()));
    painter.end();
    if (mode == QIcon::Disabled) {
        QStyleOption option;
        option.palette = QApplication::palette();
        picture = QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }
    m_cache.insert(key, picture);
    return picture;
}

QList<QSize> SvgIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return m_sizes;
}

QIconEngine *SvgIconEngine::clone() const
{
    return new SvgIconEngine(m_fileName, m_sizes);
}

QString SvgIconEngine::key() const
{
    return QStringLiteral("SvgIconEngine");
}
