#include "extract/GuardedXmlReader.h"

#include <QTest>

namespace {

QByteArray attributes(int count, const char* name = "a")
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += ' ' + QByteArray(name) + QByteArray::number(i) + "=\"" + QByteArray::number(i) + '"';
    return out;
}

QByteArray declarations(int count, int from = 0)
{
    QByteArray out;
    for (int i = from; i < from + count; ++i)
        out += " xmlns:p" + QByteArray::number(i) + "=\"urn:x-" + QByteArray::number(i) + '"';
    return out;
}

// Reads the document to its end; the reason it stopped, empty when it ended well.
QString readAll(const QByteArray& xml, int maxDepth = 64)
{
    GuardedXmlReader reader(xml, maxDepth);
    QString why;
    int elements = 0;
    while (reader.Next(why))
        if (reader.Xml().isStartElement())
            ++elements;
    return why.isEmpty() && elements == 0 ? QStringLiteral("no element") : why;
}

} // namespace

// The XML limits every package reader relies on: no DTD, bounded nesting, and bounded
// attributes and namespace declarations, checked before Qt's reader parses a tag.
class TestGuardedXmlReader : public QObject
{
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<QByteArray>("xml");
        // A part of the reason, empty for a good document, * for any reason.
        QTest::addColumn<QString>("why");
        const int most = GuardedXmlReader::kMaxAttributes;
        const QString tooManyAttributes = QStringLiteral(u"атрибутов");
        const QString tooManyNamespaces = QStringLiteral(u"пространств имён");
        QTest::newRow("plain") << QByteArray("<r a=\"1\"><e b='2'/></r>") << QString();
        QTest::newRow("attributes at the limit") << "<r" + attributes(most) + "/>" << QString();
        QTest::newRow("one attribute too many") << "<r" + attributes(most + 1) + "/>" << tooManyAttributes;
        QTest::newRow("many attributes deep inside")
            << "<r><a><b x='1'>text</b><c" + attributes(5000) + "></c></a></r>" << tooManyAttributes;
        QTest::newRow("quoted > and = do not hide attributes")
            << "<r" + attributes(most, "q") + " z='a>b=c' y=\"/>\"/>" << tooManyAttributes;
        QTest::newRow("spaces around =") << "<r" + attributes(most).replace("=", " =\n ") + " b = '1'/>"
                                         << tooManyAttributes;
        QTest::newRow("a comment is no tag") << "<r><!--<x" + attributes(most + 1) + "/>--></r>" << QString();
        QTest::newRow("CDATA is no tag") << "<r><![CDATA[<x" + attributes(most + 1) + "/>]]></r>" << QString();
        QTest::newRow("namespaces at the limit")
            << "<r" + declarations(GuardedXmlReader::kMaxNamespaces) + "/>" << QString();
        QTest::newRow("namespaces in scope add up")
            << "<r" + declarations(200) + "><e" + declarations(100, 200) + "/></r>" << tooManyNamespaces;
        // Siblings each declare their own: only what is in scope counts.
        QByteArray siblings = "<r" + declarations(100) + ">";
        for (int i = 0; i < 50; ++i)
            siblings += "<e" + declarations(100, 100) + "/><f" + declarations(100, 100) + "></f>";
        QTest::newRow("siblings' namespaces do not add up") << siblings + "</r>" << QString();
        const int rest = GuardedXmlReader::kMaxNamespaces - 200;
        QTest::newRow("default namespace counts")
            << "<r" + declarations(200) + "><e" + declarations(rest, 200) + " xmlns='urn:d'/></r>" << tooManyNamespaces;
        QTest::newRow("an attribute named xmlnsx is no declaration")
            << "<r" + declarations(200) + "><e" + declarations(rest, 200) + " xmlnsx='1'/></r>" << QString();
        // The reader must see the very characters the scan saw, whatever encoding the
        // declaration names: with the body in UTF-16 after an ASCII declaration, neither
        // sees the attributes, and the document is malformed.
        QByteArray utf16;
        for (const char c : "<r" + attributes(most + 1) + "/>")
            utf16 += QByteArray(1, c) + '\0';
        QTest::newRow("declared UTF-16 after an ASCII declaration")
            << "<?xml version='1.0' encoding='UTF-16'?>" + utf16 << QStringLiteral("*");
        QTest::newRow("declared UTF-16, written in ASCII")
            << "<?xml version='1.0' encoding='UTF-16'?><r" + attributes(most + 1) + "/>" << tooManyAttributes;
        QTest::newRow("UTF-16 without a byte-order mark") << utf16 << tooManyAttributes;
        QTest::newRow("ends inside a tag") << QByteArray("<r a='1' xmlns") << QStringLiteral("*");
        QTest::newRow("DTD") << QByteArray("<!DOCTYPE r [<!ENTITY e 'x'>]><r>&e;</r>") << QStringLiteral("DTD");
        QTest::newRow("too deep") << QByteArray("<a><a><a><a></a></a></a></a>") << QStringLiteral(u"вложенность");
    }

    void limits()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, why);
        const QString reason = readAll(xml, 3);
        if (why.isEmpty())
            QVERIFY2(reason.isEmpty(), qPrintable(reason));
        else if (why == u'*')
            QVERIFY(!reason.isEmpty());
        else
            QVERIFY2(reason.contains(why), qPrintable(reason));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("xml");
        const QString text = QStringLiteral(u"Текст ёлки");
        QTest::newRow("utf-8") << QByteArray("<r>") + text.toUtf8() + "</r>";
        QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF<r>") + text.toUtf8() + "</r>";
        QByteArray le("\xFF\xFE");
        for (const QChar c :
             QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>") + text + QStringLiteral("</r>"))
            le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        QTest::newRow("utf-16 le") << le;
        QTest::newRow("windows-1251") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"windows-1251\"?><r>\xD2\xE5\xEA\xF1\xF2 \xB8\xEB\xEA\xE8</r>");
        QTest::newRow("koi8-r") << QByteArray(
            "<?xml version='1.0' encoding='KOI8-R'?><r>\xF4\xC5\xCB\xD3\xD4 \xA3\xCC\xCB\xC9</r>");
    }

    void encodings()
    {
        QFETCH(QByteArray, xml);
        GuardedXmlReader reader(xml, 8);
        QString why;
        QString text;
        while (reader.Next(why))
            if (reader.Xml().isCharacters())
                text += reader.Xml().text();
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QCOMPARE(text, QStringLiteral(u"Текст ёлки"));
    }
};

QTEST_GUILESS_MAIN(TestGuardedXmlReader)
#include "tst_guardedxmlreader.moc"
