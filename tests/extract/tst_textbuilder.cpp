#include "extract/TextBuilder.h"

#include <QTest>

class TestTextBuilder : public QObject
{
    Q_OBJECT

private slots:
    void characterRules()
    {
        TextBuilder out;
        out.AddText(QStringLiteral(u"a\u00A0b\u00ADc\u2011d\u0007e\u200Bf"));
        QCOMPARE(out.Take(), QStringLiteral(u"a\u00A0b\u00ADc-de\u200Bf"));
    }

    void paragraphsEndWithCrLf()
    {
        TextBuilder out;
        out.AddText(QStringLiteral(u"один"));
        out.ParagraphEnd();
        out.ParagraphEnd();
        out.AddText(QStringLiteral(u"два"));
        out.LineBreak();
        out.AddText(QStringLiteral(u"три"));
        out.ParagraphEnd();
        QCOMPARE(out.Take(), QStringLiteral(u"один\r\n\r\nдва\r\nтри\r\n"));
    }

    void closeParagraphOnlyWhenOpen()
    {
        TextBuilder out;
        out.CloseParagraph();
        out.AddText(u"a");
        out.CloseParagraph();
        out.CloseParagraph();
        out.AddText(u"b");
        out.ParagraphEnd();
        out.CloseParagraph();
        QCOMPARE(out.Take(), QStringLiteral(u"a\r\nb\r\n"));
    }

    void tableCellsAndRows()
    {
        TextBuilder out;
        // Row 1: "a" | "b1 ¶ b2"; row 2: empty | "d".
        out.AddText(u"a");
        out.ParagraphEnd();
        out.CellEnd();
        out.AddText(u"b1");
        out.ParagraphEnd();
        out.AddText(u"b2");
        out.ParagraphEnd();
        out.CellEnd();
        out.RowEnd();
        out.ParagraphEnd();
        out.CellEnd();
        out.AddText(u"d");
        out.CellEnd();
        out.RowEnd();
        out.AddText(u"после");
        QCOMPARE(out.Take(), QStringLiteral(u"a\tb1\r\nb2\r\n\td\r\nпосле"));
    }

    void trailingCellTabIsDropped()
    {
        TextBuilder out;
        out.AddText(u"x");
        out.CellEnd();
        QCOMPARE(out.Take(), QStringLiteral(u"x"));
    }

    void growthIsBounded()
    {
        TextBuilder out;
        const QString block(1024 * 1024, u'x');
        for (int i = 0; i < 40 && !out.Overflowed(); ++i)
            out.AddText(block);
        QVERIFY(out.Overflowed());
        QVERIFY(out.Size() <= TextBuilder::kMaxUnits);
    }
};

QTEST_GUILESS_MAIN(TestTextBuilder)
#include "tst_textbuilder.moc"
