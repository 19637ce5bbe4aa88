// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controlsdescription.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include "windowkit.h"

using namespace Qt::StringLiterals;

namespace {

QJsonObject describeFont(const QFont &font)
{
    return {{u"families"_s, QJsonArray::fromStringList(font.families())},
            {u"pointSize"_s, font.pointSizeF()},
            {u"bold"_s, font.bold()}};
}

// The stock class a control is built back as: the first it inherits of
// these, or a plain box.
QString kindOf(const QWidget *control)
{
    for (const char *kind : {"QPushButton", "QLabel", "QLineEdit", "QPlainTextEdit", "QGroupBox", "QSlider"}) {
        if (control->inherits(kind))
            return QLatin1String(kind);
    }
    return u"QWidget"_s;
}

// What a stock control is set up from after it is made, where its kind has
// it; in this order, so that a slider's value comes after its range.
constexpr const char *kSettings[] = {"alignment", "wordWrap",     "readOnly",     "minimum", "maximum",
                                     "pageStep",  "tickInterval", "tickPosition", "value"};

QJsonArray describeChildren(const QWidget *parent);

QJsonObject describe(const QWidget *control)
{
    QJsonObject description = {
            {u"kind"_s, kindOf(control)},
            {u"name"_s, control->objectName()},
            {u"box"_s, QJsonArray{control->x(), control->y(), control->width(), control->height()}},
            {u"text"_s, TestKit::textOf(control)},
            {u"enabled"_s, control->isEnabled()},
            {u"hidden"_s, control->isHidden()},
            {u"focus"_s, control->window()->focusWidget() == control},
    };
    // Fonts and colours only where the panel sets them: the rest inherit.
    if (control->testAttribute(Qt::WA_SetFont))
        description[u"font"_s] = describeFont(control->font());
    if (control->testAttribute(Qt::WA_SetPalette))
        description[u"textColor"_s] = control->palette().color(QPalette::WindowText).name();
    // A control that draws its own fill (a lamp, an indicator) becomes a
    // plain box filled with the same colour.
    if (control->autoFillBackground() || kindOf(control) == u"QWidget"_s)
        description[u"background"_s] = control->palette().color(QPalette::Window).name();
    QJsonArray settings;
    for (const char *name : kSettings) {
        if (control->metaObject()->indexOfProperty(name) >= 0)
            settings.append(QJsonArray{QLatin1String(name), control->property(name).toInt()});
    }
    description[u"settings"_s] = settings;
    if (qobject_cast<const QGroupBox *>(control))
        description[u"children"_s] = describeChildren(control);
    return description;
}

QJsonArray describeChildren(const QWidget *parent)
{
    QJsonArray children;
    for (const QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"_s))
            children.append(describe(child));
    }
    return children;
}

} // namespace

QJsonObject describeControls(const QWidget *window)
{
    return {{u"title"_s, window->windowTitle()},
            {u"width"_s, window->width()},
            {u"height"_s, window->height()},
            {u"font"_s, describeFont(window->font())},
            {u"controls"_s, describeChildren(window)}};
}
