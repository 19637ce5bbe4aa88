// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelfixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "connectpanel.h"
#include "link/stationlink.h"
#include "window/clicklabel.h"
#include "waituntil.h"

PanelFixture::PanelFixture(std::optional<quint16> stationPort) : m_panel(stationPort.value_or(m_station.port()))
{
    // A box opens inside the click that a test sends, so it is looked for
    // from the box's own event loop.
    m_watchdog.setInterval(5);
    QObject::connect(&m_watchdog, &QTimer::timeout, &m_watchdog, [this] { watchForMessageBoxes(); });
    m_watchdog.start();
    window()->show();
    if (!QTest::qWaitForWindowExposed(window()))
        qWarning("the panel's window was not exposed; clicks may miss");
}

PanelFixture::~PanelFixture() = default;

void PanelFixture::watchForMessageBoxes()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    if (!m_expected) {
        const QString what = QStringLiteral("an unexpected message box: \"%1\"").arg(box->text());
        box->reject();
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
        return;
    }
    ModalBoxSeen *seen = std::exchange(m_expected, nullptr);
    seen->seen = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = int(box->standardButtons());
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

void PanelFixture::typeInto(QWidget *field, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(field);
    edit->selectAll();
    edit->del();
    QTest::keyClicks(field, text);
}

void PanelFixture::pasteInto(QWidget *field, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    field->setFocus();
    qobject_cast<QLineEdit *>(field)->selectAll();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

void PanelFixture::click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

QString PanelFixture::shownText(QWidget *box)
{
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(box)->textInterface();
    return text->text(0, text->characterCount());
}

bool PanelFixture::connectToStation()
{
    return TestKit::connectPanel(*window()) && m_station.waitForClient();
}

bool PanelFixture::connectAndPowerOn()
{
    if (!connectToStation())
        return false;
    click(window()->Lbl_Go);
    const bool sent = m_station.waitFor("set(1, go)") == "set(1, go)";
    clearReceived();
    return sent;
}
