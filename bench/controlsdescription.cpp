// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controlsdescription.h"

#include <QAbstractSlider>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace {

QJsonObject describeFont(const QFont &font)
{
    return {{u"families"_s, QJsonArray::fromStringList(font.families())},
            {u"pointSize"_s, font.pointSizeF()},
            {u"bold"_s, font.bold()}};
}

QFont fontFrom(const QJsonObject &description)
{
    QFont font;
    font.setFamilies(description[u"families"_s].toVariant().toStringList());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(description[u"pointSize"_s].toDouble());
    font.setBold(description[u"bold"_s].toBool());
    return font;
}

QString kindOf(const QWidget *control)
{
    if (qobject_cast<const QPushButton *>(control))
        return u"button"_s;
    if (qobject_cast<const QLabel *>(control))
        return u"label"_s;
    if (qobject_cast<const QLineEdit *>(control))
        return u"line"_s;
    if (qobject_cast<const QPlainTextEdit *>(control))
        return u"text"_s;
    if (qobject_cast<const QGroupBox *>(control))
        return u"group"_s;
    if (qobject_cast<const QSlider *>(control))
        return u"slider"_s;
    return u"box"_s;
}

QString textOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *line = qobject_cast<const QLineEdit *>(control))
        return line->text();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(control))
        return text->toPlainText();
    if (const auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    return {};
}

QJsonObject describe(const QWidget *control)
{
    QJsonObject description = {
            {u"kind"_s, kindOf(control)},
            {u"name"_s, control->objectName()},
            {u"x"_s, control->x()},
            {u"y"_s, control->y()},
            {u"width"_s, control->width()},
            {u"height"_s, control->height()},
            {u"text"_s, textOf(control)},
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
    if (control->autoFillBackground() || kindOf(control) == u"box"_s)
        description[u"background"_s] = control->palette().color(QPalette::Window).name();
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        description[u"alignment"_s] = int(label->alignment());
        description[u"wordWrap"_s] = label->wordWrap();
    }
    if (const auto *line = qobject_cast<const QLineEdit *>(control)) {
        description[u"alignment"_s] = int(line->alignment());
        description[u"readOnly"_s] = line->isReadOnly();
    }
    if (const auto *slider = qobject_cast<const QSlider *>(control)) {
        description[u"minimum"_s] = slider->minimum();
        description[u"maximum"_s] = slider->maximum();
        description[u"value"_s] = slider->value();
        description[u"pageStep"_s] = slider->pageStep();
        description[u"tickInterval"_s] = slider->tickInterval();
        description[u"tickPosition"_s] = int(slider->tickPosition());
    }
    if (qobject_cast<const QGroupBox *>(control)) {
        QJsonArray children;
        for (const QWidget *child : control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"_s))
                children.append(describe(child));
        }
        description[u"children"_s] = children;
    }
    return description;
}

void setColors(QWidget *control, const QJsonObject &description)
{
    if (!description.contains(u"textColor"_s) && !description.contains(u"background"_s))
        return;
    QPalette palette = control->palette();
    if (description.contains(u"textColor"_s))
        palette.setColor(QPalette::WindowText, QColor(description[u"textColor"_s].toString()));
    if (description.contains(u"background"_s)) {
        palette.setColor(QPalette::Window, QColor(description[u"background"_s].toString()));
        control->setAutoFillBackground(true);
    }
    control->setPalette(palette);
}

QWidget *build(const QJsonObject &description, QWidget *parent)
{
    const QString kind = description[u"kind"_s].toString();
    const QString text = description[u"text"_s].toString();
    QWidget *control = nullptr;
    if (kind == u"button"_s) {
        control = new QPushButton(text, parent);
    } else if (kind == u"label"_s) {
        auto *label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::Alignment(description[u"alignment"_s].toInt()));
        label->setWordWrap(description[u"wordWrap"_s].toBool());
        control = label;
    } else if (kind == u"line"_s) {
        auto *line = new QLineEdit(text, parent);
        line->setAlignment(Qt::Alignment(description[u"alignment"_s].toInt()));
        line->setReadOnly(description[u"readOnly"_s].toBool());
        control = line;
    } else if (kind == u"text"_s) {
        auto *box = new QPlainTextEdit(text, parent);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        control = box;
    } else if (kind == u"group"_s) {
        auto *group = new QGroupBox(text, parent);
        for (const QJsonValue child : description[u"children"_s].toArray())
            build(child.toObject(), group);
        control = group;
    } else if (kind == u"slider"_s) {
        auto *slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(description[u"minimum"_s].toInt(), description[u"maximum"_s].toInt());
        slider->setPageStep(description[u"pageStep"_s].toInt());
        slider->setTickInterval(description[u"tickInterval"_s].toInt());
        slider->setTickPosition(QSlider::TickPosition(description[u"tickPosition"_s].toInt()));
        slider->setValue(description[u"value"_s].toInt());
        control = slider;
    } else {
        control = new QWidget(parent);
    }
    control->setObjectName(description[u"name"_s].toString());
    control->setGeometry(description[u"x"_s].toInt(), description[u"y"_s].toInt(), description[u"width"_s].toInt(),
                         description[u"height"_s].toInt());
    if (description.contains(u"font"_s))
        control->setFont(fontFrom(description[u"font"_s].toObject()));
    setColors(control, description);
    control->setEnabled(description[u"enabled"_s].toBool());
    control->setHidden(description[u"hidden"_s].toBool());
    if (description[u"focus"_s].toBool())
        control->setFocus();
    return control;
}

} // namespace

QJsonObject describeControls(const QWidget *window)
{
    QJsonArray controls;
    for (const QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(u"qt_"_s))
            controls.append(describe(control));
    }
    return {{u"title"_s, window->windowTitle()},
            {u"width"_s, window->width()},
            {u"height"_s, window->height()},
            {u"font"_s, describeFont(window->font())},
            {u"controls"_s, controls}};
}

QWidget *buildControls(const QJsonObject &description)
{
    auto *window = new QWidget;
    window->setWindowTitle(description[u"title"_s].toString());
    window->resize(description[u"width"_s].toInt(), description[u"height"_s].toInt());
    window->setFont(fontFrom(description[u"font"_s].toObject()));
    for (const QJsonValue control : description[u"controls"_s].toArray())
        build(control.toObject(), window);
    return window;
}
