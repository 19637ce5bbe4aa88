// Switching an accessory, and the hint fields that select their text when
// they gain the focus.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "panelfixture.h"
#include "window/main.h"

class TestAccessory : public QObject
{
    Q_OBJECT

private slots:
    void commandsByButton_data();
    void commandsByButton();
    void takeWithEmptyIdentifierRefuses();
    void onWithEmptyIdentifierStillSends();
    void everyPressSendsAgain();
    void statusNotTiedToIdentifier();
    void focusSelectsAll_data();
    void focusSelectsAll();
    void emptyFieldGetsEmptySelection();
    void otherBoxesDoNotSelectAll_data();
    void otherBoxesDoNotSelectAll();
};

void TestAccessory::commandsByButton_data()
{
    QTest::addColumn<QString>("accessory");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QString>("status");

    QTest::newRow("take") << "20000"
                          << "Pb_Switch_Connect" << QByteArray("request(20000, control)") << "Status";
    QTest::newRow("take hint text") << "ID"
                                    << "Pb_Switch_Connect" << QByteArray("request(ID, control)") << "Status";
    QTest::newRow("release") << "20000"
                             << "Pb_Switch_Disconnect" << QByteArray("release(20000, control)") << "Status";
    QTest::newRow("release empty") << ""
                                   << "Pb_Switch_Disconnect" << QByteArray("release(, control)") << "Status";
    QTest::newRow("on") << "20001"
                        << "Pb_Switch_On" << QByteArray("set(20001, state[1])") << "1";
    QTest::newRow("off") << "20001"
                         << "Pb_Switch_Off" << QByteArray("set(20001, state[0])") << "0";
    QTest::newRow("off empty") << ""
                               << "Pb_Switch_Off" << QByteArray("set(, state[0])") << "0";
    QTest::newRow("on odd identifier") << " 2), x"
                                       << "Pb_Switch_On" << QByteArray("set( 2), x, state[1])") << "1";
}

void TestAccessory::commandsByButton()
{
    QFETCH(QString, accessory);
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    QFETCH(QString, status);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Switch_Address, accessory);
    PanelFixture::click(w->findChild<QPushButton *>(button));
    QCOMPARE(panel.receiveAtLeast(wire.size()), wire);
    QCOMPARE(panel.received(), wire);
    QCOMPARE(w->Txt_Switch_Status->text(), status);
}

void TestAccessory::takeWithEmptyIdentifierRefuses()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Switch_Address, QString());
    ModalBoxSeen box;
    answerNextMessageBox(&box);
    PanelFixture::click(w->Pb_Switch_Connect);
    QVERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("VELT"));
    QCOMPARE(box.text, QStringLiteral("Introducir Direccion Desvio"));
    QCOMPARE(box.icon, int(QMessageBox::NoIcon));
    QCOMPARE(box.buttons, int(QMessageBox::Ok));
    QCOMPARE(panel.received(), QByteArray());
}

void TestAccessory::onWithEmptyIdentifierStillSends()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Switch_Address, QString());
    PanelFixture::click(w->Pb_Switch_On);
    QCOMPARE(panel.receiveAtLeast(15), QByteArray("set(, state[1])"));
    QCOMPARE(w->Txt_Switch_Status->text(), QStringLiteral("1"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestAccessory::everyPressSendsAgain()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Switch_Address, QStringLiteral("20000"));
    PanelFixture::click(w->Pb_Switch_On);
    PanelFixture::click(w->Pb_Switch_On);
    const QByteArray once("set(20000, state[1])");
    QCOMPARE(panel.receiveAtLeast(2 * once.size()), once + once);
}

void TestAccessory::statusNotTiedToIdentifier()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    PanelFixture::typeInto(w->Txt_Switch_Address, QStringLiteral("20000"));
    PanelFixture::click(w->Pb_Switch_Off);
    PanelFixture::typeInto(w->Txt_Switch_Address, QStringLiteral("20001"));
    QCOMPARE(w->Txt_Switch_Status->text(), QStringLiteral("0"));
}

void TestAccessory::focusSelectsAll_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byClick");

    for (const char *field : {"Txt_CommandLine", "Txt_Loco_Ad", "Txt_Loco_Function", "Txt_Switch_Address"}) {
        QTest::addRow("%s by Tab", field) << field << false;
        QTest::addRow("%s by click", field) << field << true;
    }
}

void TestAccessory::focusSelectsAll()
{
    QFETCH(QString, field);
    QFETCH(bool, byClick);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    auto *box = w->findChild<QLineEdit *>(field);
    box->setText(QStringLiteral("earlier text"));
    if (byClick) {
        w->Txt_IP->setFocus();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    } else {
        // Start on the control just before it in the tab order.
        QWidget *before = box->previousInFocusChain();
        while (!before->isEnabled() || !before->isVisible() || !(before->focusPolicy() & Qt::TabFocus))
            before = before->previousInFocusChain();
        before->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectionStart(), 0);
    QCOMPARE(box->selectedText(), QStringLiteral("earlier text"));
    QTest::keyClick(box, Qt::Key_X);
    QCOMPARE(box->text(), QStringLiteral("x"));
}

void TestAccessory::emptyFieldGetsEmptySelection()
{
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    w->Txt_Loco_Ad->clear();
    w->Txt_IP->setFocus();
    QTest::mouseClick(w->Txt_Loco_Ad, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->Txt_Loco_Ad);
    QVERIFY(!w->Txt_Loco_Ad->hasSelectedText());
    QCOMPARE(w->Txt_Loco_Ad->cursorPosition(), 0);
}

void TestAccessory::otherBoxesDoNotSelectAll_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("address") << "Txt_IP";
    QTest::newRow("speed") << "Txt_Loco_Speed";
    QTest::newRow("status") << "Txt_Switch_Status";
}

void TestAccessory::otherBoxesDoNotSelectAll()
{
    QFETCH(QString, field);
    PanelFixture panel;
    Main *w = panel.window();
    QVERIFY(panel.connectAndPowerOn());
    auto *box = w->findChild<QLineEdit *>(field);
    w->Txt_CommandLine->setFocus();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(!box->hasSelectedText());

    w->Txt_CommandLine->setFocus();
    QTest::mouseClick(w->Txt_Out, Qt::LeftButton);
    QVERIFY(!w->Txt_Out->textCursor().hasSelection());
}

QTEST_MAIN(TestAccessory)
#include "tst_accessory.moc"
