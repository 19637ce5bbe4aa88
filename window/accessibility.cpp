// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "window/clicklabel.h"
#include "window/frame.h"
#include "window/main.h"
#include "window/outputboxaccessible.h"
#include "window/shape.h"

using namespace Qt::StringLiterals;

namespace {

// A lamp or an S88 indicator: read as text that tells its name and whether it
// is lit. Qt's indicator role reaches screen readers on Linux as "unknown",
// so the lamp is offered as static text.
class ShapeAccessible : public QAccessibleWidget
{
public:
    explicit ShapeAccessible(QWidget *shape) : QAccessibleWidget(shape, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value:
        case QAccessible::Description:
            return static_cast<const Shape *>(widget())->isLit() ? Accessibility::kLit : Accessibility::kDark;
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

// "Go" and "Stop" are labels that act on a click, so assistive technology
// sees them as buttons it can press.
class ClickLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickLabelAccessible(QWidget *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && widget()->isEnabled() && widget()->isVisible())
            emit static_cast<ClickLabel *>(widget())->clicked();
    }
};

// The caption-less frames are horizontal rules, not panels.
class RuleAccessible : public QAccessibleWidget
{
public:
    explicit RuleAccessible(QWidget *rule) : QAccessibleWidget(rule, QAccessible::Separator) {}
};

// The window is announced as a window with its caption, not as a bare pane.
QAccessibleInterface *windowControlFactory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == "Main"_L1)
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == "Shape"_L1)
        return new ShapeAccessible(widget);
    if (className == "ClickLabel"_L1)
        return new ClickLabelAccessible(widget);
    if (className == "OutputBox"_L1)
        return new OutputBoxAccessible(widget);
    if (className == "Frame"_L1 && static_cast<Frame *>(widget)->title().isEmpty())
        return new RuleAccessible(widget);
    return nullptr;
}

// A field is announced by the label in front of it, which becomes its buddy
// too, so the label is reported as labelling the field. The description tells
// fields apart whose labels read the same in different panels.
void nameField(QWidget *field, QLabel *label, const QString &description = QString())
{
    label->setBuddy(field);
    field->setAccessibleName(label->text());
    if (!description.isEmpty())
        field->setAccessibleDescription(description);
}

} // namespace

void Accessibility::registerControlKinds()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void Accessibility::describe(Main &w)
{
    w.Txt_IP->setAccessibleName(u"Direccion IP de la Central Station"_s);
    w.Txt_Out->setAccessibleName(u"Respuestas de la Central Station"_s);

    w.Sh_Stop->setAccessibleName(u"Lampara Stop"_s);
    w.Sh_Go->setAccessibleName(u"Lampara Go"_s);

    nameField(w.Txt_Loco_Ad, w.Lbl_loco, u"Direccion de la locomotora"_s);
    nameField(w.Txt_Loco_Speed, w.Label8);
    nameField(w.Txt_Loco_Function, w.Label7, u"Numero de la funcion"_s);
    w.Slider_Loco->setAccessibleName(u"Velocidad"_s);
    w.Pb_Loco_Back->setAccessibleName(u"Atras"_s);
    w.Pb_Loco_Back->setAccessibleDescription(u"La locomotora marcha hacia atras"_s);
    w.Pb_Loco_For->setAccessibleName(u"Adelante"_s);
    w.Pb_Loco_For->setAccessibleDescription(u"La locomotora marcha hacia adelante"_s);

    nameField(w.Txt_Switch_Address, w.Label1, u"Direccion del desvio"_s);
    nameField(w.Txt_Switch_Status, w.Label9);

    w.Txt_CommandLine->setAccessibleName(u"Linea de instrucciones"_s);

    for (int i : w.Sh_Kred.indices())
        w.Sh_Kred(i)->setAccessibleName(u"S88 rojo %1"_s.arg(i));
    for (int i : w.Sh_Kgreen.indices())
        w.Sh_Kgreen(i)->setAccessibleName(u"S88 verde %1"_s.arg(i));
}
