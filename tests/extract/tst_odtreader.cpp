#include "HiddenMarks.h"
#include "ZipBuilder.h"
#include "extract/OdtReader.h"

#include <QTest>

namespace {

const QByteArray kNamespaces = "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                               "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                               "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                               "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                               "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"";

QByteArray content(const QByteArray& body, const QByteArray& automaticStyles = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content " + kNamespaces +
           "><office:automatic-styles>" + automaticStyles + "</office:automatic-styles><office:body><office:text>" +
           body + "</office:text></office:body></office:document-content>";
}

QByteArray style(const QByteArray& name, const QByteArray& family, const QByteArray& properties,
                 const QByteArray& parent = {})
{
    return "<style:style style:name=\"" + name + "\" style:family=\"" + family + "\"" +
           (parent.isEmpty() ? QByteArray() : " style:parent-style-name=\"" + parent + "\"") + ">" + properties +
           "</style:style>";
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

    void hidden_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("automaticStyles");
        QTest::addColumn<QByteArray>("styles"); // styles.xml's office:styles, then its page layouts
        QTest::addColumn<QString>("expected");  // hidden runs in brackets
        const auto text = [](const QByteArray& attributes) { return "<style:text-properties " + attributes + "/>"; };
        const QByteArray looks =
            style("None", "text", text("text:display=\"none\"")) +
            style("White", "text", text("fo:color=\"#ffffff\"")) + style("Tiny", "text", text("fo:font-size=\"2pt\"")) +
            style("Small", "text", text("fo:font-size=\"2.5pt\"")) +
            style("Half", "text", text("fo:font-size=\"50%\"")) +
            style("OnDark", "text", text("fo:color=\"#FFFFFF\" fo:background-color=\"#000080\"")) +
            style("Shown", "text", text("text:display=\"true\"")) +
            style("DarkP", "paragraph", "<style:paragraph-properties fo:background-color=\"#202020\"/>") +
            style("DarkCell", "table-cell", "<style:table-cell-properties fo:background-color=\"#000000\"/>") +
            style("P1", "paragraph", {}, "Child");
        const auto span = [](const QByteArray& name, const QByteArray& words) {
            return "<text:span text:style-name=\"" + name + "\">" + words + "</text:span>";
        };
        QTest::newRow("normal") << QByteArray("<text:p>Один <text:span>два</text:span></text:p>") << looks
                                << QByteArray() << QStringLiteral(u"Один два\r\n");
        QTest::newRow("display none, white, tiny")
            << "<text:p>а " + span("None", "скрыто ") + "б " + span("White", "белый ") + span("Tiny", "мелко ") +
                   span("Small", "читаемо ") + span("Half", "половина") + "</text:p>"
            << looks << QByteArray() << QStringLiteral(u"а [скрыто ]б [белый мелко ]читаемо половина\r\n");
        QTest::newRow("white on dark span, paragraph, cell")
            << "<text:p>" + span("OnDark", "а") + "</text:p><text:p text:style-name=\"DarkP\">" + span("White", "б") +
                   "</text:p>" +
                   "<table:table><table:table-row><table:table-cell table:style-name=\"DarkCell\"><text:p>" +
                   span("White", "в") + "</text:p></table:table-cell></table:table-row></table:table>"
            << looks << QByteArray() << QStringLiteral(u"а\r\nб\r\nв\r\n");
        QTest::newRow("inherited through common styles")
            << "<text:p text:style-name=\"P1\">унаследовано " + span("Shown", "открыто") + "</text:p>" +
                   "<text:p text:style-name=\"Loop\">петля</text:p>"
            << looks
            << style("Base", "paragraph", text("text:display=\"none\"")) + style("Child", "paragraph", {}, "Base") +
                   style("Loop", "paragraph", {}, "Loop")
            << QStringLiteral(u"[унаследовано ]открыто\r\nпетля\r\n");
        QTest::newRow("tiny default style") << "<text:p>мелко " + span("Small", "крупно") + "</text:p>" << looks
                                            << "<style:default-style style:family=\"paragraph\">" +
                                                   text("fo:font-size=\"1pt\"") + "</style:default-style>"
                                            << QStringLiteral(u"[мелко ]крупно\r\n");
        QTest::newRow("dark page")
            << "<text:p>" + span("Black", "чёрный ") + span("White", "белый") + "</text:p>"
            << looks + style("Black", "text", text("fo:color=\"#000000\""))
            << QByteArray("</office:styles><office:automatic-styles><style:page-layout style:name=\"pm1\">"
                          "<style:page-layout-properties fo:background-color=\"#000000\"/></style:page-layout>"
                          "</office:automatic-styles><office:master-styles>"
                          "<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"/>"
                          "</office:master-styles><office:styles>")
            << QStringLiteral(u"[чёрный ]белый\r\n");
        QTest::newRow("hidden section and hidden text")
            << QByteArray("<text:section text:name=\"s\" text:display=\"none\"><text:p>раздел</text:p>"
                          "</text:section><text:p>видно <text:hidden-text text:is-hidden=\"true\" "
                          "text:string-value=\"x\">скрыто</text:hidden-text></text:p>")
            << looks << QByteArray() << QStringLiteral(u"[раздел]\r\nвидно [скрыто]\r\n");
    }

    void hidden()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, automaticStyles);
        QFETCH(QByteArray, styles);
        QFETCH(QString, expected);
        const QByteArray stylesXml = "<office:document-styles " + kNamespaces + "><office:styles>" + styles +
                                     "</office:styles></office:document-styles>";
        const ParsedDocument doc =
            OdtReader::Read(ZipBuilder()
                                .add(QStringLiteral("content.xml"), content(body, automaticStyles))
                                .add(QStringLiteral("styles.xml"), stylesXml)
                                .build());
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(MarkHidden(doc.stories.value(0), doc.hidden.value(0)), expected);
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
