#include "extract/CodePage.h"

#include <QTest>

// Code pages beyond the two built-in ones go to the platform's decoder; these rows
// must decode the same on every platform.
class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("1251 built in") << 1251 << QByteArray("\xD2\xE5\xEA\xF1\xF2 \xB8\xA8\xB9")
                                       << QStringLiteral(u"Текст ёЁ№");
        QTest::newRow("1252 built in") << 1252 << QByteArray("caf\xE9 \x80\x96") << QStringLiteral(u"café €–");
        QTest::newRow("1250 central european") << 1250
                                               << QByteArray("\xB3\xF3"
                                                             "d\xBF")
                                               << QStringLiteral(u"łódż");
        QTest::newRow("1253 greek") << 1253 << QByteArray("\xE1\xE2\xE3") << QStringLiteral(u"αβγ");
        QTest::newRow("866 dos cyrillic") << 866 << QByteArray("\x8C\xA8\xE0") << QStringLiteral(u"Мир");
        QTest::newRow("koi8-r") << 20866 << QByteArray("\xED\xC9\xD2") << QStringLiteral(u"Мир");
        QTest::newRow("iso-8859-5") << 28595 << QByteArray("\xBC\xD8\xE0") << QStringLiteral(u"Мир");
        QTest::newRow("utf-8") << 65001 << QStringLiteral(u"Мир").toUtf8() << QStringLiteral(u"Мир");
        // A code page nobody decodes reads as 1252 rather than losing the text.
        QTest::newRow("unknown") << 4242 << QByteArray("caf\xE9") << QStringLiteral(u"café");
        QTest::newRow("empty") << 1253 << QByteArray() << QString();
    }

    void decode()
    {
        QFETCH(int, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(CodePage::Decode(bytes, codePage), text);
    }

    void fromName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("codePage");
        QTest::newRow("windows-1251") << QByteArray("windows-1251") << 1251;
        QTest::newRow("upper case") << QByteArray("Windows-1250") << 1250;
        QTest::newRow("cp866") << QByteArray("cp866") << 866;
        QTest::newRow("ibm866") << QByteArray("IBM866") << 866;
        QTest::newRow("x-cp1251") << QByteArray("x-cp1251") << 1251;
        QTest::newRow("koi8-r") << QByteArray("KOI8-R") << 20866;
        QTest::newRow("latin1") << QByteArray("ISO-8859-1") << 28591;
        QTest::newRow("utf-8") << QByteArray("utf-8") << 65001;
        QTest::newRow("unknown") << QByteArray("x-unknown") << 0;
        QTest::newRow("no number") << QByteArray("windows-") << 0;
        QTest::newRow("too large") << QByteArray("cp99999999999") << 0;
        QTest::newRow("empty") << QByteArray() << 0;
    }

    void fromName()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, codePage);
        QCOMPARE(CodePage::FromName(name), codePage);
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
