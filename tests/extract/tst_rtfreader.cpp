#include "HiddenMarks.h"
#include "extract/RtfReader.h"
#include "extract/TextBuilder.h"

#include <QTest>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("{\\rtf1\\ansi Hello\\par world\\par}")
                               << QStringLiteral(u"Hello\r\nworld\r\n");
        QTest::newRow("unicode with fallback")
            << QByteArray("{\\rtf1\\uc1\\u1055?\\u1088?\\u1080?\\u-3?\\par}")
            << QStringLiteral(u"При") + QChar(char16_t(0xFFFD)) + QStringLiteral(u"\r\n");
        QTest::newRow("uc2 skips two") << QByteArray("{\\rtf1{\\uc2\\u1071\\'3f\\'3fX}\\u1071?}")
                                       << QStringLiteral(u"ЯXЯ");
        QTest::newRow("uc0 skips none") << QByteArray("{\\rtf1\\uc0\\u1071 X}") << QStringLiteral(u"ЯX");
        QTest::newRow("ansicpg 1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")
                                      << QStringLiteral(u"Привет");
        QTest::newRow("font charset 204 in a 1252 document")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\froman\\fcharset0 Times;}"
                          "{\\f1\\fswiss\\fcharset204 Arial;}}\\f0 caf\\'e9 {\\f1 \\'c4\\'e0}}")
            << QStringLiteral(u"café Да");
        QTest::newRow("greek and central european fonts")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset161 A;}{\\f1\\fcharset238 B;}}"
                          "{\\f0 \\'e1\\'e5}{\\f1 \\'9a}\\'e0}")
            << QStringLiteral(u"αεšа");
        QTest::newRow("unknown cpg falls back to the document's code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\cpg99999 A;}}\\f0 \\'cf\\'f0\\'e8}")
            << QStringLiteral(u"При");
        QTest::newRow("unknown cpg keeps the font's charset")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204\\cpg77 A;}}\\f0 \\'cf\\'f0\\'e8}")
            << QStringLiteral(u"При");
        QTest::newRow("skipped destinations")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times;}}{\\colortbl;\\red0\\green0\\blue0;}"
                          "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Заголовок}{\\author Автор}}"
                          "{\\*\\generator Gen;}{\\header Колонтитул}{\\*\\unknown hidden}"
                          "{\\pict\\pngblip 89504e47}Body}")
            << QStringLiteral(u"Body");
        QTest::newRow("field result shown, code hidden")
            << QByteArray("{\\rtf1 Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} end}")
            << QStringLiteral(u"Page 7 end");
        QTest::newRow("symbols")
            << QByteArray("{\\rtf1 a\\~b\\-c\\_d\\tab e\\line f\\emdash\\ldblquote x\\rdblquote\\{\\}\\\\}")
            << QStringLiteral(u"a\u00A0b\u00ADc-d\te\r\nf—“x”{}\\");
        QTest::newRow("deleted revision dropped")
            << QByteArray("{\\rtf1 keep {\\deleted gone }{\\insrsid1 added}}") << QStringLiteral(u"keep added");
        // Hidden text is text (only marked, see hidden()), as in the other formats.
        QTest::newRow("hidden text kept") << QByteArray("{\\rtf1 a{\\v hidden}b}") << QStringLiteral(u"ahiddenb");
        QTest::newRow("table")
            << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row\\trowd c\\cell\\cell\\row after}")
            << QStringLiteral(u"a\tb\r\nc\t\r\nafter");
        QTest::newRow("bin data skipped") << QByteArray("{\\rtf1 x{\\pict\\bin4 }}}}}y") << QStringLiteral(u"xy");
        QTest::newRow("huge bin length") << QByteArray("{\\rtf1 x\\bin99999999999 abc") << QStringLiteral(u"x");
        QTest::newRow("truncated keeps text read")
            << QByteArray("{\\rtf1 start {\\b bold") << QStringLiteral(u"start bold");
        QTest::newRow("raw line breaks ignored") << QByteArray("{\\rtf1 a\r\nb\\\r\nc}") << QStringLiteral(u"ab\r\nc");
    }

    void text()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        const ParsedDocument doc = RtfReader::Read(rtf);
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.join(QString()), expected);
    }

    void hidden_data()
    {
        QTest::addColumn<QByteArray>("body");  // after a colour table of auto, white, black, near white
        QTest::addColumn<QString>("expected"); // hidden runs in brackets
        QTest::newRow("normal") << QByteArray("plain {\\b bold}\\par") << QStringLiteral(u"plain bold\r\n");
        QTest::newRow("hidden in its group") << QByteArray("a{\\v hid\\tab den{\\v0 shown}\\u1071?}b\\v c\\v0 d")
                                             << QStringLiteral(u"a[hid\tden]shown[Я]b[c]d");
        QTest::newRow("white, near white, auto, black, unknown index")
            << QByteArray("{\\cf1 white}{\\cf3 near}{\\cf0 auto}{\\cf2 black}{\\cf9 nine}")
            << QStringLiteral(u"[whitenear]autoblacknine");
        QTest::newRow("white on a dark background")
            << QByteArray("{\\cf1\\highlight2 a}{\\cf1\\cb2 b}{\\cf1\\chcbpat2 c}{\\cf1\\highlight1 d}"
                          "\\cbpat2{\\cf1 e}\\pard{\\cf1 f}")
            << QStringLiteral(u"abc[d]e[f]");
        QTest::newRow("tiny") << QByteArray("{\\fs4 tiny}{\\fs5 small}{\\fs2\\plain reset}")
                              << QStringLiteral(u"[tiny]smallreset");
    }

    void hidden()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        const ParsedDocument doc = RtfReader::Read(
            "{\\rtf1{\\colortbl;\\red255\\green255\\blue255;\\red0\\green0\\blue0;\\red250\\green250\\blue250;}" +
            body + "}");
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(MarkHidden(doc.stories.value(0), doc.hidden.value(0)), expected);
    }

    void footnotesAndEndnotesAreStories()
    {
        const ParsedDocument doc =
            RtfReader::Read("{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard {\\super\\chftn} Note.\\par} more."
                            "{\\footnote\\ftnalt End.}\\par}");
        QCOMPARE(doc.stories, (QStringList{QStringLiteral(u"Text more.\r\n"), QStringLiteral(u" Note.\r\n"),
                                           QStringLiteral(u"End.\r\n")}));
    }

    void deepNestingIsDamaged()
    {
        const QByteArray deep = "{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}";
        const ParsedDocument doc = RtfReader::Read(deep);
        QCOMPARE(doc.error, ExtractError::Damaged);
        QVERIFY(doc.stories.isEmpty());
    }

    void nestingWithinTheLimitReads()
    {
        const QByteArray nested = "{\\rtf1 " + QByteArray(400, '{') + "x" + QByteArray(400, '}') + "}";
        QCOMPARE(RtfReader::Read(nested).stories.join(QString()), QStringLiteral(u"x"));
    }

    // Long runs of 8-bit text are decoded as they are read, never cut inside a
    // double-byte character.
    void longEightBitRuns_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1251") << "{\\rtf1\\ansi\\ansicpg1251 " + QByteArray("\xD0\xEE\xF9\xE0 ").repeated(50000) + "}"
                              << QStringLiteral(u"Роща ").repeated(50000);
        // Three bytes a pattern: a cut at any fixed size would split a character.
        QTest::newRow("double-byte gbk") << "{\\rtf1\\ansi\\ansicpg936 " +
                                                QByteArray("\xC4\xE3"
                                                           "a")
                                                    .repeated(50000) +
                                                "}"
                                         << QStringLiteral(u"你a").repeated(50000);
        // No byte below 0x80 for 1.2 MB, and an odd start: the cut at the 1 MiB bound
        // must keep a dangling lead byte for the next batch.
        QTest::newRow("unbroken gbk past the bound")
            << "{\\rtf1\\ansi\\ansicpg936 a" + QByteArray("\xC4\xE3").repeated(600000) + "}"
            << QStringLiteral(u"a") + QStringLiteral(u"你").repeated(600000);
    }

    void longEightBitRuns()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        const ParsedDocument doc = RtfReader::Read(rtf);
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.value(0), expected);
    }

    // Text past what a story holds is refused while reading, before it is all in memory.
    void endlessTextIsTooLarge()
    {
        const QByteArray rtf = "{\\rtf1 " + QByteArray(TextBuilder::kMaxUnits + 16, 'a') + "}";
        const ParsedDocument doc = RtfReader::Read(rtf);
        QCOMPARE(doc.error, ExtractError::TooLarge);
        QVERIFY(doc.stories.isEmpty());
    }

    void notRtfIsDamaged() { QCOMPARE(RtfReader::Read("plain text").error, ExtractError::Damaged); }
};

QTEST_GUILESS_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
