// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sliderkit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QStyleOptionSlider>

namespace {

void sendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

QRect TestKit::sliderPart(const QSlider *slider, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.subControls = part;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
}

void TestKit::dragSlider(QSlider *slider, const QList<int> &stops)
{
    constexpr int kOvershoot = 50;
    QPoint at = sliderPart(slider, QStyle::SC_SliderHandle).center();
    sendMouse(slider, QEvent::MouseButtonPress, at, Qt::LeftButton);
    for (const int stop : stops) {
        const int step = stop > slider->value() ? 1 : -1;
        while (slider->value() != stop && at.x() > -kOvershoot && at.x() < slider->width() + kOvershoot) {
            at.rx() += step;
            sendMouse(slider, QEvent::MouseMove, at, Qt::LeftButton);
        }
    }
    sendMouse(slider, QEvent::MouseButtonRelease, at, Qt::NoButton);
}
