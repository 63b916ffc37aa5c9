#include "extract/PlainTextReader.h"

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
        QTest::newRow("nbsp, soft and hard hyphens")
            << QStringLiteral(u"сто\u00A0лет, мяг\u00ADкий, кто\u2011то") << QStringLiteral(u"сто лет, мягкий, кто-то");
    }

    void lineBreaks()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(PlainTextReader::CanonicalLineBreaks(input), expected);
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
