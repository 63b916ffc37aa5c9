#include "dialogs/DialogUnits.h"

#include <QFontMetrics>
#include <QTest>

class TestDialogUnits : public QObject
{
    Q_OBJECT

private slots:
    void convertsWithFontMetrics_data();
    void convertsWithFontMetrics();
};

void TestDialogUnits::convertsWithFontMetrics_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("8 pt") << 8;
    QTest::newRow("10 pt") << 10;
    QTest::newRow("14 pt") << 14;
}

void TestDialogUnits::convertsWithFontMetrics()
{
    QFETCH(int, pointSize);
    QFont font;
    font.setPointSize(pointSize);
    const DialogUnits du(font);
    const QFontMetrics metrics(font);
    QCOMPARE(du.baseY(), metrics.height());
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(du.baseX(), (letters / 26 + 1) / 2);
    // Four horizontal units are one average character, eight vertical ones a line.
    QCOMPARE(du.x(4), du.baseX());
    QCOMPARE(du.y(8), du.baseY());
    QCOMPARE(du.x(400), 100 * du.baseX());
    QCOMPARE(du.size(460, 354), QSize(du.x(460), du.y(354)));
    // Rounded to the nearest pixel.
    QCOMPARE(du.x(1), (du.baseX() + 2) / 4);
}

QTEST_MAIN(TestDialogUnits)
#include "tst_dialogunits.moc"
