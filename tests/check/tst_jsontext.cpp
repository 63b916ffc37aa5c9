#include "check/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// The report writes JSON itself; it must read exactly as QJsonDocument writes it.
class TestJsonText : public QObject
{
    Q_OBJECT

    static QByteArray viaDocument(const QJsonValue& value)
    {
        QJsonArray array;
        array.append(value);
        const QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Compact);
        return bytes.mid(1, bytes.size() - 2);
    }

private slots:
    void stringsAsQtWritesThem_data()
    {
        QTest::addColumn<QString>("text");
        QString ascii;
        for (char16_t c = 0; c < 0x80; ++c)
            ascii.append(QChar(c));
        QTest::newRow("every ASCII code") << ascii;
        QTest::newRow("Cyrillic and symbols") << QStringLiteral(u"Ёжик «в» тумане — 70\u00A0% \u20AC\uFFFF");
        QTest::newRow("pair") << QString::fromUtf16(u"a\U0001F600b");
        QTest::newRow("lone high") << QString::fromUtf16(u"a\xD83D"
                                                         u"b");
        QTest::newRow("lone low") << QString::fromUtf16(u"\xDE00"
                                                        u"b");
        QTest::newRow("high at end") << QString::fromUtf16(u"ab\xD83D");
        QTest::newRow("two highs, a pair") << QString::fromUtf16(u"\xD83D\xDBFF\xDFFF");
        QTest::newRow("low before high") << QString::fromUtf16(u"\xDE00\xD83D");
        QTest::newRow("empty") << QString();
    }
    void stringsAsQtWritesThem()
    {
        QFETCH(QString, text);
        QByteArray bytes;
        JsonText::AppendString(bytes, text);
        QCOMPARE(bytes, viaDocument(text));
    }

    // The plain-text report's UTF-8, unquoted, as QString::toUtf8 gives it.
    void utf8AsQtWritesIt_data() { stringsAsQtWritesThem_data(); }
    void utf8AsQtWritesIt()
    {
        QFETCH(QString, text);
        QByteArray bytes = "x";
        JsonText::AppendUtf8(bytes, text);
        QCOMPARE(bytes, "x" + text.toUtf8());
    }

    void numbersAsQtWritesThem()
    {
        for (const double value : {0.0, 1.0, 0.5, 0.29, 0.87, 0.3478, 1e-7, 123456789.0}) {
            QByteArray bytes;
            JsonText::AppendNumber(bytes, value);
            QCOMPARE(bytes, viaDocument(value));
        }
    }
};

QTEST_GUILESS_MAIN(TestJsonText)
#include "tst_jsontext.moc"
