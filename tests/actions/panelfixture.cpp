#include "panelfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "actions/panel.h"
#include "actions/panelactions.h"
#include "link/stationlink.h"
#include "window/clicklabel.h"
#include "window/main.h"

PanelFixture::PanelFixture(std::optional<quint16> stationPort)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    m_window = createPanel(stationPort.value_or(m_server.serverPort()));
    m_link = m_window->findChild<StationLink *>();
    m_actions = m_window->findChild<PanelActions *>();
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        m_peer = m_server.nextPendingConnection();
        QObject::connect(m_peer, &QTcpSocket::readyRead, m_peer, [this] { m_received += m_peer->readAll(); });
    });
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the panel's window was not exposed; clicks may miss");
}

PanelFixture::~PanelFixture() = default;

QTcpSocket *PanelFixture::linkSocket() const
{
    return m_link->findChild<QTcpSocket *>(QStringLiteral("WinsockCS"));
}

void PanelFixture::typeInto(QWidget *field, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(field);
    edit->selectAll();
    edit->del();
    QTest::keyClicks(field, text);
}

void PanelFixture::click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

bool PanelFixture::connectToStation()
{
    m_window->Txt_IP->setText(QStringLiteral("127.0.0.1"));
    click(m_window->Pb_Connect);
    QElapsedTimer timer;
    timer.start();
    while (m_link->isAttemptRunning() && timer.elapsed() < 3000)
        QTest::qWait(10);
    return m_window->Txt_Out->toPlainText() == PanelActions::kConnected && m_peer != nullptr;
}

bool PanelFixture::connectAndPowerOn()
{
    if (!connectToStation())
        return false;
    click(m_window->Lbl_Go);
    receiveAtLeast(10);
    clearReceived();
    return true;
}

QByteArray PanelFixture::received(int quietMs)
{
    QTest::qWait(quietMs);
    return m_received;
}

QByteArray PanelFixture::receiveAtLeast(qsizetype count)
{
    QElapsedTimer timer;
    timer.start();
    while (m_received.size() < count && timer.elapsed() < 3000)
        QTest::qWait(2);
    return m_received;
}

void PanelFixture::clearReceived()
{
    m_received.clear();
}

void PanelFixture::reply(const QByteArray &bytes)
{
    m_peer->write(bytes);
    m_peer->flush();
}

void answerNextMessageBox(ModalBoxSeen *seen)
{
    // Polls briefly, since the box opens inside the click that a test sends.
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->seen = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = int(box->standardButtons());
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        poll->deleteLater();
    });
    QTimer::singleShot(3000, poll, &QObject::deleteLater);
    poll->start();
}
