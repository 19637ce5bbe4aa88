// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "simulatorlaunch.h"

#include <QMessageBox>
#include <QTextStream>

int SimulatorLaunch::start(const QCommandLineParser &parser, bool window)
{
    if (m_options.read(parser) && m_program.start(m_options)) {
        if (m_options.view) {
            m_view = std::make_unique<RailwayView>(m_program.server());
            m_view->show();
        }
        return -1;
    }
    const QString why = m_options.errorString.isEmpty() ? m_program.errorString() : m_options.errorString;
    QTextStream(stderr) << why << Qt::endl;
    if (window)
        QMessageBox(QMessageBox::Critical, QStringLiteral("command-station-simulator"), why).exec();
    return m_options.errorString.isEmpty() ? 1 : 2;
}
