#include "dialogs/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestCAboutDlg : public QObject
{
    Q_OBJECT

private slots:
    void content();
    void closesWithOkAndEscape();
};

void TestCAboutDlg::content()
{
    CAboutDlg box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About Parafrix"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("versionLabel"))->text(), QStringLiteral("Parafrix Version 1.0"));
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("copyrightLabel"))->text().contains(QStringLiteral("2007")));
    const QLabel* icon = box.findChild<QLabel*>(QStringLiteral("iconLabel"));
    QVERIFY(!icon->pixmap().isNull());
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("okButton"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
}

void TestCAboutDlg::closesWithOkAndEscape()
{
    CAboutDlg box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Rejected));
    box.show();
    QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestCAboutDlg)
#include "tst_caboutdlg.moc"
