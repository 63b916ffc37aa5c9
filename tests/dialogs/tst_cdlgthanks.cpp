#include "dialogs/CDlgThanks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestCDlgThanks : public QObject
{
    Q_OBJECT

private slots:
    void textHasItsShape();
    void boxShowsTextReadOnly();
    void closes_data();
    void closes();
};

void TestCDlgThanks::textHasItsShape()
{
    const QString text = CDlgThanks::Text();
    QCOMPARE(text.size(), 346);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 8);
    const QList<int> lengths = {243, 0, 5, 8, 8, 8, 7, 53};
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines.at(i).size(), lengths.at(i));
    QVERIFY(lines.last().startsWith(u' '));
    // Only CR LF pairs break lines.
    QCOMPARE(text.count(u'\r'), 7);
    QCOMPARE(text.count(u'\n'), 7);
    // Russian text: the paragraph is mostly Cyrillic.
    int cyrillic = 0;
    for (QChar c : lines.first())
        cyrillic += (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) ? 1 : 0;
    QVERIFY(cyrillic > 150);
}

void TestCDlgThanks::boxShowsTextReadOnly()
{
    CDlgThanks box;
    QCOMPARE(box.windowTitle(), QStringLiteral(u"Спасибо"));
    auto* text = box.findChild<QPlainTextEdit*>(QStringLiteral("thanksText"));
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text->document()->blockCount(), 8);
    QCOMPARE(text->toPlainText(), QString(CDlgThanks::Text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.focusWidget(), text);
    // Typing changes nothing.
    QTest::keyClicks(text, QStringLiteral("abc"));
    QCOMPARE(text->document()->blockCount(), 8);
    QVERIFY(!text->toPlainText().contains(QStringLiteral("abc")));
    auto* close = box.findChild<QPushButton*>(QStringLiteral("closeButton"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral(u"Закрыть"));
    QVERIFY(close->isDefault());
}

void TestCDlgThanks::closes_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("button") << 0;
    QTest::newRow("escape") << 1;
    QTest::newRow("close box") << 2;
}

void TestCDlgThanks::closes()
{
    QFETCH(int, way);
    CDlgThanks box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    if (way == 0)
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
    else if (way == 1)
        QTest::keyClick(&box, Qt::Key_Escape);
    else
        box.close();
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(TestCDlgThanks)
#include "tst_cdlgthanks.moc"
