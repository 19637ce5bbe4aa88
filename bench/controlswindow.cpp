// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up floor with the panel's controls: the same kinds, texts, font,
// geometry and start-up states, built from stock Qt controls only, from the
// description panel-bench wrote of the panel (its describeControls()).

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include "firstpaint.h"

using namespace Qt::StringLiterals;

namespace {

QFont fontFrom(const QJsonObject &description)
{
    QFont font;
    font.setFamilies(description[u"families"_s].toVariant().toStringList());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(description[u"pointSize"_s].toDouble());
    font.setBold(description[u"bold"_s].toBool());
    return font;
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

QWidget *build(const QJsonObject &description, QWidget *parent);

QWidget *create(const QJsonObject &description, QWidget *parent)
{
    const QString kind = description[u"kind"_s].toString();
    const QString text = description[u"text"_s].toString();
    if (kind == u"QPushButton"_s)
        return new QPushButton(text, parent);
    if (kind == u"QLabel"_s) {
        auto *label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    if (kind == u"QLineEdit"_s)
        return new QLineEdit(text, parent);
    if (kind == u"QPlainTextEdit"_s) {
        auto *box = new QPlainTextEdit(text, parent);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    if (kind == u"QGroupBox"_s) {
        auto *group = new QGroupBox(text, parent);
        for (const QJsonValue child : description[u"children"_s].toArray())
            build(child.toObject(), group);
        return group;
    }
    if (kind == u"QSlider"_s)
        return new QSlider(Qt::Horizontal, parent);
    return new QWidget(parent);
}

QWidget *build(const QJsonObject &description, QWidget *parent)
{
    QWidget *control = create(description, parent);
    control->setObjectName(description[u"name"_s].toString());
    for (const QJsonValue setting : description[u"settings"_s].toArray())
        control->setProperty(setting[0].toString().toLatin1().constData(), setting[1].toVariant());
    const QJsonArray box = description[u"box"_s].toArray();
    control->setGeometry(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt());
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QJsonObject description = QJsonDocument::fromJson(file.readAll()).object();
    QWidget window;
    window.setWindowTitle(description[u"title"_s].toString());
    window.resize(description[u"width"_s].toInt(), description[u"height"_s].toInt());
    window.setFont(fontFrom(description[u"font"_s].toObject()));
    for (const QJsonValue control : description[u"controls"_s].toArray())
        build(control.toObject(), &window);
    markFirstPaint(&window);
    window.show();
    return app.exec();
}
