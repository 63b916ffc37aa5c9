#include "extract/PlainTextReader.h"

#include "extract/DocumentFormat.h"

#include <QTest>

class TestPlainTextReader : public QObject
{
    Q_OBJECT

private slots:
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString word = QStringLiteral(u"Ёлка и ель");
        QTest::newRow("utf-8") << word.toUtf8() << word;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + word.toUtf8() << word;
        QByteArray le("\xFF\xFE");
        QByteArray be("\xFE\xFF");
        for (const QChar c : word) {
            le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        QTest::newRow("utf-16 le") << le << word;
        QTest::newRow("utf-16 be") << be << word;
        QTest::newRow("windows-1251") << QByteArray("\xA8\xEB\xEA\xE0 \xE8 \xE5\xEB\xFC") << word;
        QTest::newRow("1251 quotes and dash")
            << QByteArray("\xAB\xC4\xE0\xBB \x97 \xB9") << QStringLiteral(u"«Да» — №");
        // One damaged byte, or a last character cut short, costs one character.
        const QString essay = QStringLiteral(u"Студент переписал реферат о берёзовой роще.");
        QByteArray stray = essay.toUtf8();
        stray[10] = char(0xFF);
        QTest::newRow("utf-8 with a stray byte") << stray << QString(essay).replace(5, 1, QChar(0xFFFD));
        QTest::newRow("utf-8 cut in the last character")
            << essay.toUtf8() + QByteArray("\xD0") << essay + QChar(0xFFFD);
        // Windows-1251 letters that happen to pair into a valid sequence stay 1251.
        QTest::newRow("1251 with a chance utf-8 pair")
            << QByteArray("\xDF \xEF\xE8\xF8\xF3 \xAB\xDF\xBB") << QStringLiteral(u"Я пишу «Я»");
        QTest::newRow("ascii with a stray byte") << QByteArray("plain \xB9 1") << QStringLiteral(u"plain № 1");
    }

    void utf8Evidence_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        const QByteArray ten = QStringLiteral(u"абвгдежзик").toUtf8();
        QTest::newRow("ascii") << QByteArray("plain") << true;
        QTest::newRow("ten letters, one bad byte") << ten + '\xFF' << true;
        QTest::newRow("nine letters, one bad byte") << ten.left(18) + '\xFF' << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("four-byte sequence") << QByteArray("\xF0\x9F\x99\x82") << true;
        QTest::newRow("1251 text") << QByteArray("\xCA\xEE\xF8\xEA\xE0 \xEB\xEE\xE2\xE8\xEB\xE0") << false;
    }

    void utf8Evidence()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(PlainTextReader::IsMostlyUtf8(bytes), utf8);
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const ParsedDocument doc = PlainTextReader::Read(bytes);
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories, QStringList{expected});
    }

    void lineBreaks_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lf") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
        QTest::newRow("cr") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
        QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
        QTest::newRow("blank lines") << QStringLiteral("a\n\r\n\rb") << QStringLiteral("a\r\n\r\n\r\nb");
        QTest::newRow("tab kept, controls dropped") << QStringLiteral(u"a\tb\u0001\u000Cc") << QStringLiteral("a\tbc");
        QTest::newRow("nbsp, soft and hard hyphens") << QStringLiteral(u"сто\u00A0лет, мяг\u00ADкий, кто\u2011то")
                                                     << QStringLiteral(u"сто\u00A0лет, мяг\u00ADкий, кто-то");
    }

    void lineBreaks()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(PlainTextReader::CanonicalLineBreaks(input), expected);
    }

    // The one-pass reading of clean UTF-8 gives what decoding and then canonicalising
    // gives, and leaves every other input to that general way.
    void cleanUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("clean");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("russian, all breaks") << QStringLiteral(u"Ёлка\nи\r\nель\rросла").toUtf8() << true;
        QTest::newRow("lone breaks outgrow the room") << QByteArray(300, '\n') + QByteArray(300, '\r') + "a" << true;
        QTest::newRow("breaks at both ends") << QByteArray("\n\ra\r\n\r") << true;
        QTest::newRow("cr lf split by a control") << QByteArray("a\r\x01\nb\t\x0C\x7F") << true;
        QTest::newRow("bom, u+feff inside") << QByteArray("\xEF\xBB\xBF"
                                                          "a\xEF\xBB\xBF\r")
                                            << true;
        QTest::newRow("second bom") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                  "a")
                                    << false;
        QTest::newRow("3 and 4 bytes, hard hyphen, c1, nonchars")
            << QByteArray("\xE2\x80\x91\xF0\x9F\x99\x82\xC2\x85\xEF\xBF\xBE\xEF\xBF\xBF\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("runs of two-byte letters")
            << QStringLiteral(u"Достопримечательность ßéαβγδεζηθ ёЁ").toUtf8() << true;
        QTest::newRow("seven letters") << QStringLiteral(u"Россией и Москвой").toUtf8() << true;
        QTest::newRow("overlong after four")
            << QByteArray("\xD0\x94\xD0\xBE\xD1\x81\xD1\x82\xD0\xBE\xC1\xBF\xD0\xB0") << false;
        QTest::newRow("overlong inside a run")
            << QByteArray("\xD0\x94\xD0\xBE\xD1\x81\xC1\xBF\xD0\xBE\xD0\xBF") << false;
        QTest::newRow("run cut by a stray byte")
            << QByteArray("\xD0\x94\xD0\xBE\xD1\x81\xD1\xD0\xBE\xD0\xBF\xD0") << false;
        QTest::newRow("overlong 2") << QByteArray("a\xC1\xBF") << false;
        QTest::newRow("overlong 3") << QByteArray("\xE0\x9F\xBF") << false;
        QTest::newRow("overlong 4") << QByteArray("\xF0\x8F\xBF\xBF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("past u+10ffff") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("stray continuation") << QByteArray("\xD0\x91\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("\xD0\x91\xE2\x80") << false;
        QTest::newRow("cut by a break") << QByteArray("\xD0\n\x91") << false;
        QTest::newRow("1251") << QByteArray("\xCA\xEE\xF8\xEA\xE0\r\n") << false;
        QTest::newRow("utf-16 bom") << QByteArray("\xFF\xFE"
                                                  "a\x00\n\x00",
                                                  6)
                                    << false;
    }

    void cleanUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, clean);
        QString text = QStringLiteral("untouched");
        QCOMPARE(PlainTextReader::DecodeCleanUtf8(bytes, text), clean);
        const QString general = PlainTextReader::CanonicalLineBreaks(PlainTextReader::Decode(bytes));
        QCOMPARE(text, clean ? general : QStringLiteral("untouched"));
        if (DocumentFormatSniffer::LooksLikeText(bytes))
            QCOMPARE(PlainTextReader::Read(bytes).stories, QStringList{general});
    }

    void oversizedTextIsRefused()
    {
        const QByteArray big(PlainTextReader::kMaxTextBytes + 1, 'a');
        const ParsedDocument doc = PlainTextReader::Read(big);
        QCOMPARE(doc.error, ExtractError::TooLarge);
        QVERIFY(doc.stories.isEmpty());
    }

    void binaryIsNoText()
    {
        const ParsedDocument doc = PlainTextReader::Read(QByteArray("\x00\x01\x02\x03\x04\x05", 6));
        QCOMPARE(doc.error, ExtractError::UnknownFormat);
        QVERIFY(doc.stories.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlainTextReader)
#include "tst_plaintextreader.moc"
