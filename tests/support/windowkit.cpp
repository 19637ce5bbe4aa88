// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowkit.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "window/frame.h"
#include "window/main.h"

QRect TestKit::pixels(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

QString TestKit::textOf(const QWidget *control)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    if (auto *panel = qobject_cast<const QGroupBox *>(control))
        return panel->title();
    if (auto *output = qobject_cast<const QPlainTextEdit *>(control))
        return output->toPlainText();
    return QString();
}

bool TestKit::bringTo(Main *window, const QString &step)
{
    if (step == u"connected")
        window->showConnected();
    else if (step == u"on")
        window->showPowerOn();
    else if (step == u"off")
        window->showPowerOff();
    else
        return false;
    return true;
}

QString TestKit::captionClipping(QWidget *control)
{
    const QString text = textOf(control);
    if (text.isEmpty() || qobject_cast<QPlainTextEdit *>(control))
        return QString();
    if (auto *panel = qobject_cast<Frame *>(control)) {
        if (!panel->rect().contains(panel->captionRect()))
            return QStringLiteral("caption box outside the panel");
        if (QFontMetrics(panel->captionFont()).horizontalAdvance(text) >= panel->captionRect().width())
            return QStringLiteral("caption wider than its box");
        return QString();
    }
    const QFontMetrics metrics(control->font());
    QRect room = control->contentsRect();
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (qobject_cast<QLineEdit *>(control)) {
        room = control->rect().adjusted(4, 0, -4, 0); // frame and text margin
    }
    auto *label = qobject_cast<QLabel *>(control);
    if (label && label->wordWrap()) {
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 1000), Qt::TextWordWrap, text);
        if (wrapped.height() > room.height())
            return QStringLiteral("%1 px of wrapped text in %2 px").arg(wrapped.height()).arg(room.height());
        return QString();
    }
    // The ink of the one line must lie inside the box.
    const QRectF ink = QFontMetricsF(control->font()).tightBoundingRect(text);
    if (ink.width() > room.width())
        return QStringLiteral("%1 px of text in %2 px").arg(ink.width()).arg(room.width());
    if (metrics.height() > room.height())
        return QStringLiteral("%1 px high line in %2 px").arg(metrics.height()).arg(room.height());
    return QString();
}

QList<QWidget *> TestKit::partsNamed(const QWidget &root, const QStringList &names)
{
    const QList<QWidget *> widgets = root.findChildren<QWidget *>();
    QList<QWidget *> parts;
    for (const QString &name : names) {
        const auto named =
                std::find_if(widgets.begin(), widgets.end(), [&](QWidget *w) { return w->accessibleName() == name; });
        parts.append(named == widgets.end() ? nullptr : *named);
    }
    return parts;
}
