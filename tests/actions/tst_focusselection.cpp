// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The hint fields that select their whole text when they gain the focus,
// and the boxes that do not.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "panelfixture.h"
#include "window/main.h"

class TestFocusSelection : public QObject
{
    Q_OBJECT

private slots:
    void focusSelectsAll_data();
    void focusSelectsAll();
    void otherBoxesDoNotSelectAll_data();
    void otherBoxesDoNotSelectAll();
};

void TestFocusSelection::focusSelectsAll_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byClick");

    for (const char *field : {"Txt_CommandLine", "Txt_Loco_Ad", "Txt_Loco_Function", "Txt_Switch_Address"}) {
        QTest::addRow("%s by Tab", field) << field << false;
        QTest::addRow("%s by click", field) << field << true;
    }
}

void TestFocusSelection::focusSelectsAll()
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

void TestFocusSelection::otherBoxesDoNotSelectAll_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("address") << "Txt_IP";
    QTest::newRow("speed") << "Txt_Loco_Speed";
    QTest::newRow("status") << "Txt_Switch_Status";
}

void TestFocusSelection::otherBoxesDoNotSelectAll()
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

QTEST_MAIN(TestFocusSelection)
#include "tst_focusselection.moc"
