// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What each operator control sends: the fields it reads, the exact bytes the
// station receives, that they leave at once, and what else it changes; for
// ordinary entries and for field texts no operator should type.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

#include "link/stationlink.h"
#include "panelfixture.h"
#include "window/clicklabel.h"
#include "window/main.h"

class TestSentCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void controlSendsFields_data();
    void controlSendsFields();
    void takeWithEmptyIdentifierRefuses_data();
    void takeWithEmptyIdentifierRefuses();
    void everyPressSendsAgain_data();
    void everyPressSendsAgain();

private:
    std::unique_ptr<PanelFixture> m_panel;
};

void TestSentCommands::initTestCase()
{
    m_panel = std::make_unique<PanelFixture>();
    QVERIFY(m_panel->connectAndPowerOn());
}

void TestSentCommands::cleanupTestCase()
{
    m_panel.reset();
}

void TestSentCommands::controlSendsFields_data()
{
    // The fields to fill as name, text pairs; the control used; the bytes the
    // station receives; what the accessory's status box shows after it
    // ("Status" is its start-up text).
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QString>("status");

    // Each field holds its own value, so a control that reads the wrong one
    // sends the wrong bytes.
    const QString loco = "Txt_Loco_Ad", function = "Txt_Loco_Function", accessory = "Txt_Switch_Address",
                  line = "Txt_CommandLine";
    const QStringList ordinary{loco, "1000", function, "3", accessory, "20000", line, "get(1, status)"};
    struct Control
    {
        const char *name;
        const char *wire;
        const char *status;
    };
    const Control controls[] = {
            {"Pb_Loco_Request", "request(1000, control)", "Status"},
            {"PB_Loco_Release", "release(1000, control)", "Status"},
            {"Slider_Loco", "set(1000, speed[1])", "Status"},
            {"Pb_Loco_For", "set(1000, dir[0])", "Status"},
            {"Pb_Loco_Back", "set(1000, dir[1])", "Status"},
            {"Pb_Function_On", "set(1000, func[3, 1])", "Status"},
            {"Pb_Function_Off", "set(1000, func[3, 0])", "Status"},
            {"Pb_Switch_Connect", "request(20000, control)", "Status"},
            {"Pb_Switch_Disconnect", "release(20000, control)", "Status"},
            {"Pb_Switch_On", "set(20000, state[1])", "1"},
            {"Pb_Switch_Off", "set(20000, state[0])", "0"},
            {"Pb_Locos_List", "queryObjects(10, addr, name)", "Status"},
            {"Pb_Switch_List", "queryObjects(11, addr, name1)", "Status"},
            {"Pb_Command_Line", "get(1, status)", "Status"},
    };
    for (const Control &c : controls)
        QTest::newRow(c.name) << ordinary << QString::fromLatin1(c.name) << QByteArray(c.wire)
                              << QString::fromLatin1(c.status);

    // Texts no operator should type, each put once into every field a
    // control reads, while the others hold ordinary values: the field's
    // text goes out as it stands. An empty command line hands the link an
    // empty command: nothing on the wire, and no complaint since the station
    // is connected.
    QString longText;
    QByteArray longWire;
    while (longText.size() < 100000) {
        longText += QString::fromUtf8("0123456789M\xc3\xa1quina ");
        longWire += "0123456789M\xe1quina ";
    }
    longText.truncate(100000);
    longWire.truncate(100000);
    struct Kind
    {
        const char *name;
        QString text;
        QByteArray wire;
    };
    const Kind kinds[] = {
            {"empty", QString(), QByteArray()},
            {"only blanks", QStringLiteral("  "), QByteArray("  ")},
            {"100,000 characters", longText, longWire},
            {"control characters", QStringLiteral("1\t2\r\n3\x01\x1b\x7f"), QByteArray("1\t2\r\n3\x01\x1b\x7f")},
            {"outside Latin-1", QString::fromUtf8("\xe2\x82\xac \xe6\x97\xa5\xf0\x9d\x84\x9e \xc3\xb1"),
             QByteArray("? ?? \xf1")},
            {"holding ) and ,", QStringLiteral("1000), set(1, go"), QByteArray("1000), set(1, go")},
    };
    struct Use
    {
        const char *field;
        const char *startup;
        const char *control;
        QByteArray before;
        QByteArray after;
    };
    const Use uses[] = {
            {"Txt_Loco_Ad", "ID", "Pb_Loco_Request", "request(", ", control)"},
            {"Txt_Loco_Function", "Number", "Pb_Function_On", "set(1000, func[", ", 1])"},
            {"Txt_Switch_Address", "ID", "Pb_Switch_Connect", "request(", ", control)"},
            {"Txt_CommandLine", "Escribir la linea de instrucciones aqui", "Pb_Command_Line", "", ""},
    };
    for (const Use &use : uses) {
        QStringList typed = ordinary;
        const qsizetype at = typed.indexOf(QString::fromLatin1(use.field)) + 1;
        typed[at] = QString::fromLatin1(use.startup);
        QTest::addRow("%s at its start-up text", use.field)
                << typed << QString::fromLatin1(use.control) << use.before + use.startup + use.after << "Status";
        for (const Kind &kind : kinds) {
            // An empty take is refused, which has a test of its own.
            if (kind.text.isEmpty() && use.before == "request(")
                continue;
            typed[at] = kind.text;
            QTest::addRow("%s: %s", use.field, kind.name)
                    << typed << QString::fromLatin1(use.control) << use.before + kind.wire + use.after << "Status";
        }
    }
}

void TestSentCommands::controlSendsFields()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, control);
    QFETCH(QByteArray, wire);
    QFETCH(QString, status);

    PanelFixture &panel = *m_panel;
    Main *w = panel.window();
    // Every row starts from the window as it opened.
    w->Txt_Loco_Ad->setText(QStringLiteral("ID"));
    w->Txt_Loco_Function->setText(QStringLiteral("Number"));
    w->Txt_Switch_Address->setText(QStringLiteral("ID"));
    w->Txt_Switch_Status->setText(QStringLiteral("Status"));
    w->Txt_CommandLine->setText(QStringLiteral("Escribir la linea de instrucciones aqui"));
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        auto *field = panel.control<QLineEdit>(typed[i]);
        const QString &text = typed[i + 1];
        // Typed where the keyboard types it in a moment, pasted otherwise.
        const bool typeable = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
        if (typeable && text.size() < 100 && text.toLatin1() == text.toUtf8())
            PanelFixture::typeInto(field, text);
        else
            PanelFixture::pasteInto(field, text);
    }
    w->Txt_Out->setPlainText(QStringLiteral("before"));
    panel.clearReceived();
    auto *socket = panel.link()->findChild<QTcpSocket *>();
    QVERIFY(socket);

    auto *slider = panel.control<QSlider>(control);
    if (slider) {
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Up);
    } else {
        panel.control<QPushButton>(control)->click();
    }
    // The command leaves while the handler runs: nothing waits in the
    // panel's socket for the event loop, and the station gets all of it
    // while this side runs no event loop.
    QCOMPARE(socket->bytesToWrite(), 0);
    QCOMPARE(panel.station().waitForWithoutEventLoop(wire), wire);
    QCOMPARE(panel.received(), wire);
    // The panel keeps no record: nothing else on it changes.
    QCOMPARE(w->Txt_Switch_Status->text(), status);
    QCOMPARE(w->Txt_Out->toPlainText(), QStringLiteral("before"));
    QCOMPARE(w->strData(), QString());
    if (slider) {
        QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral(" 1"));
        // Back to 0, so the next row starts where this one did.
        panel.clearReceived();
        QTest::keyClick(slider, Qt::Key_Home);
        const QByteArray stopped = QByteArray(wire).replace(", speed[1])", ", speed[0])");
        QCOMPARE(panel.receive(stopped), stopped);
        w->Txt_Loco_Speed->setText(QStringLiteral("Speed"));
    } else {
        QCOMPARE(w->Txt_Loco_Speed->text(), QStringLiteral("Speed"));
        QCOMPARE(w->Slider_Loco->value(), 0);
    }
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2)
        QCOMPARE(panel.control<QLineEdit>(typed[i])->text(), typed[i + 1]);
}

void TestSentCommands::takeWithEmptyIdentifierRefuses_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("message");

    QTest::newRow("locomotive") << "Txt_Loco_Ad"
                                << "Pb_Loco_Request"
                                << "Introducir Direccion Locomotora";
    QTest::newRow("accessory") << "Txt_Switch_Address"
                               << "Pb_Switch_Connect"
                               << "Introducir Direccion Desvio";
}

void TestSentCommands::takeWithEmptyIdentifierRefuses()
{
    QFETCH(QString, field);
    QFETCH(QString, control);
    QFETCH(QString, message);

    PanelFixture &panel = *m_panel;
    PanelFixture::typeInto(panel.control(field), QString());
    panel.clearReceived();
    ModalBoxSeen box;
    panel.expectMessageBox(&box);
    PanelFixture::click(panel.control(control));
    QVERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("VELT"));
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, int(QMessageBox::NoIcon));
    QCOMPARE(box.buttons, int(QMessageBox::Ok));
    QCOMPARE(panel.received(), QByteArray());
}

void TestSentCommands::everyPressSendsAgain_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("once");

    QTest::newRow("accessory on") << "Pb_Switch_On" << QByteArray("set(20000, state[1])");
    QTest::newRow("submit") << "Pb_Command_Line" << QByteArray("get(1, status)");
    QTest::newRow("list locomotives") << "Pb_Locos_List" << QByteArray("queryObjects(10, addr, name)");
}

void TestSentCommands::everyPressSendsAgain()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, once);

    PanelFixture &panel = *m_panel;
    Main *w = panel.window();
    w->Txt_Switch_Address->setText(QStringLiteral("20000"));
    w->Txt_CommandLine->setText(QStringLiteral("get(1, status)"));
    panel.clearReceived();
    PanelFixture::click(panel.control(control));
    PanelFixture::click(panel.control(control));
    QCOMPARE(panel.receive(once + once), once + once);
    QCOMPARE(panel.received(), once + once);
    QCOMPARE(w->Txt_CommandLine->text(), QStringLiteral("get(1, status)"));
}

QTEST_MAIN(TestSentCommands)
#include "tst_sentcommands.moc"
