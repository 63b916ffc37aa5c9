#include "ZipBuilder.h"
#include "extract/OdtReader.h"

#include <QTest>

namespace {

QByteArray content(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<office:body><office:text>" +
           body + "</office:text></office:body></office:document-content>";
}

QByteArray package(const QByteArray& body)
{
    return ZipBuilder()
        .add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text")
        .add(QStringLiteral("content.xml"), content(body))
        .build();
}

} // namespace

class TestOdtReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("paragraph and heading")
            << QByteArray("<text:h>Заголовок</text:h><text:p>Абзац <text:span>текста</text:span>.</text:p>")
            << QStringLiteral(u"Заголовок\r\nАбзац текста.\r\n");
        QTest::newRow("spaces, tabs, breaks")
            << QByteArray("<text:p>а<text:s text:c=\"3\"/>б<text:tab/>в<text:line-break/>г</text:p>")
            << QStringLiteral(u"а   б\tв\r\nг\r\n");
        QTest::newRow("whitespace collapses")
            << QByteArray("<text:p>\n   раз\n   два   </text:p>") << QStringLiteral(u"раз два \r\n");
        QTest::newRow("special characters")
            << QByteArray("<text:p>сто\xC2\xA0рублей мяг\xC2\xADкий кто\xE2\x80\x91то</text:p>")
            << QStringLiteral(u"сто\u00A0рублей мяг\u00ADкий кто-то\r\n");
        QTest::newRow("tracked deletion and annotation left out")
            << QByteArray("<text:tracked-changes><text:changed-region text:id=\"c1\"><text:deletion>"
                          "<text:p>удалено</text:p></text:deletion></text:changed-region></text:tracked-changes>"
                          "<text:p>было <text:change text:change-id=\"c1\"/>стало<office:annotation>"
                          "<dc:creator>x</dc:creator><text:p>заметка</text:p></office:annotation></text:p>")
            << QStringLiteral(u"было стало\r\n");
        QTest::newRow("table")
            << QByteArray("<table:table><table:table-row><table:table-cell><text:p>a</text:p></table:table-cell>"
                          "<table:table-cell><text:p>b</text:p></table:table-cell></table:table-row>"
                          "<table:table-row><table:table-cell><text:p>c</text:p></table:table-cell>"
                          "<table:covered-table-cell/></table:table-row></table:table>")
            << QStringLiteral(u"a\tb\r\nc\r\n");
        QTest::newRow("lists") << QByteArray("<text:list><text:list-item><text:p>пункт</text:p></text:list-item>"
                                             "</text:list>")
                               << QStringLiteral(u"пункт\r\n");
        QTest::newRow("huge space count is bounded")
            << QByteArray("<text:p>a<text:s text:c=\"2000000000\"/>b</text:p>")
            << QStringLiteral(u"a") + QString(1024, u' ') + QStringLiteral(u"b\r\n");
    }

    void text()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        const ParsedDocument doc = OdtReader::Read(package(body));
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.join(QString()), expected);
    }

    void notesBecomeStoriesAfterTheBody()
    {
        const ParsedDocument doc = OdtReader::Read(
            package("<text:p>Текст<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
                    "<text:note-body><text:p>Сноска.</text:p></text:note-body></text:note> дальше."
                    "<text:note text:note-class=\"endnote\"><text:note-citation>i</text:note-citation>"
                    "<text:note-body><text:p>Концевая.</text:p></text:note-body></text:note></text:p>"));
        QCOMPARE(doc.stories, (QStringList{QStringLiteral(u"Текст дальше.\r\n"), QStringLiteral(u"Сноска.\r\n"),
                                           QStringLiteral(u"Концевая.\r\n")}));
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        const QByteArray good = package("<text:p>Текст документа, довольно длинный.</text:p>");
        QTest::newRow("truncated") << good.left(good.size() - 30) << int(ExtractError::Damaged);
        QTest::newRow("no content") << ZipBuilder().add(QStringLiteral("mimetype"), "x").build()
                                    << int(ExtractError::Damaged);
        QByteArray deep;
        for (int i = 0; i < 3000; ++i)
            deep += "<text:span>";
        QTest::newRow("deep nesting") << package("<text:p>" + deep + "</text:p>") << int(ExtractError::Damaged);
        QTest::newRow("DTD") << ZipBuilder()
                                    .add(QStringLiteral("content.xml"),
                                         "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"ee\">]><x>&e;</x>")
                                    .build()
                             << int(ExtractError::Damaged);
    }

    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ParsedDocument doc = OdtReader::Read(bytes);
        QCOMPARE(int(doc.error), error);
        QVERIFY(doc.stories.join(QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOdtReader)
#include "tst_odtreader.moc"
