#include "dialogs/CDlgFuck.h"
#include "res/Artwork.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestCDlgFuck : public QObject
{
    Q_OBJECT

private slots:
    void pictureHasItsSize();
    void pictureIsDrawn();
    void iconHasItsSizes();
    void closes();
};

void TestCDlgFuck::pictureHasItsSize()
{
    СDlgFuck box;
    QCOMPARE(box.windowTitle(), QStringLiteral(u"Все хорошо"));
    const QLabel* picture = box.findChild<QLabel*>(QStringLiteral("pictureLabel"));
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(265, 124));
    QCOMPARE(picture->size(), QSize(265, 124));
    auto* close = box.findChild<QPushButton*>(QStringLiteral("closeButton"));
    QCOMPARE(close->text(), QStringLiteral(u"Закрыть"));
    QVERIFY(close->isDefault());
}

void TestCDlgFuck::pictureIsDrawn()
{
    const QImage image = Artwork::AllClearPicture().toImage();
    QCOMPARE(image.size(), QSize(265, 124));
    QVERIFY(!image.hasAlphaChannel() || image.pixelColor(0, 0).alpha() == 255);
    // The red stamp is there: plenty of strongly red pixels.
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += (c.red() > 180 && c.green() < 110 && c.blue() < 110) ? 1 : 0;
        }
    QVERIFY2(red > 1000, qPrintable(QString::number(red)));
}

void TestCDlgFuck::iconHasItsSizes()
{
    const QIcon icon = Artwork::ProgramIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
    const QImage small = icon.pixmap(16, 16).toImage();
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            opaque += small.pixelColor(x, y).alpha() > 0 ? 1 : 0;
    QVERIFY(opaque > 64);
}

void TestCDlgFuck::closes()
{
    СDlgFuck box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestCDlgFuck)
#include "tst_cdlgfuck.moc"
