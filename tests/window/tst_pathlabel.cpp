#include "window/PathLabel.h"

#include <QDir>
#include <QTest>

class TestPathLabel : public QObject
{
    Q_OBJECT

private slots:
    void compactsToWidth_data();
    void compactsToWidth();
    void followsResize();
};

void TestPathLabel::compactsToWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 60;
    QTest::newRow("medium") << 150;
    QTest::newRow("wide") << 300;
}

void TestPathLabel::compactsToWidth()
{
    QFETCH(int, width);
    const QString path = QStringLiteral(u"/home/студент/документы/рефераты/2007/весна/история/оригинал-реферата.doc");
    const QFontMetrics metrics(QFont{});
    const QString shown = PathLabel::Compact(path, metrics, width);
    QVERIFY(metrics.horizontalAdvance(shown) <= width);
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(shown.size() < path.size());
    // The start and the end of the path stay, shown with the platform's separators.
    QVERIFY(QDir::toNativeSeparators(path).startsWith(shown.left(1)));
    QVERIFY(path.endsWith(shown.right(1)));
}

void TestPathLabel::followsResize()
{
    const QString path = QStringLiteral("/a/very/long/folder/name/that/goes/on/and/on/and/on/document.txt");
    PathLabel label;
    label.resize(80, 20);
    label.setPath(path);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    const QString narrow = label.text();
    QVERIFY(narrow.contains(QChar(0x2026)));
    label.resize(4000, 20);
    QCOMPARE(label.text(), QDir::toNativeSeparators(path));
    QCOMPARE(label.toolTip(), QDir::toNativeSeparators(path));
}

QTEST_MAIN(TestPathLabel)
#include "tst_pathlabel.moc"
