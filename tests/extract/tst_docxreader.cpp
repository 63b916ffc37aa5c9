#include "ZipBuilder.h"
#include "extract/DocxReader.h"
#include "extract/GuardedXmlReader.h"
#include "extract/ZipArchive.h"

#include <QTest>

namespace {

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                         "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                         "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"><w:body>";
const QByteArray kTail = "</w:body></w:document>";

QByteArray package(const QByteArray& body, const QByteArray& footnotes = {})
{
    ZipBuilder zip;
    zip.add(QStringLiteral("word/document.xml"), kHead + body + kTail);
    if (!footnotes.isEmpty()) {
        zip.add(QStringLiteral("word/_rels/document.xml.rels"),
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"r1\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/footnotes\" "
                "Target=\"footnotes.xml\"/></Relationships>");
        zip.add(QStringLiteral("word/footnotes.xml"),
                "<w:footnotes xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" + footnotes +
                    "</w:footnotes>");
    }
    return zip.build();
}

QByteArray para(const QByteArray& runs)
{
    return "<w:p>" + runs + "</w:p>";
}

QByteArray run(const QByteArray& text)
{
    return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

// The package with every entry's uncompressed size rewritten, as a forged archive has it.
QByteArray withDeclaredSize(QByteArray zip, quint32 size)
{
    const auto patch = [&zip, size](const QByteArray& signature, int offset) {
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
            for (int i = 0; i < 4; ++i)
                zip[at + offset + i] = char((size >> (8 * i)) & 0xFF);
    };
    patch(QByteArray("PK\x03\x04"), 22);
    patch(QByteArray("PK\x01\x02"), 24);
    return zip;
}

QString joined(const ParsedDocument& doc)
{
    return doc.stories.join(QString());
}

} // namespace

class TestDocxReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("paragraphs") << para(run("Один")) + para(run("Два")) << QStringLiteral(u"Один\r\nДва\r\n");
        QTest::newRow("runs join") << para(run("сло") + run("во")) << QStringLiteral(u"слово\r\n");
        QTest::newRow("tab and break") << para(run("а") + "<w:r><w:tab/><w:t>б</w:t><w:br/><w:t>в</w:t><w:cr/></w:r>")
                                       << QStringLiteral(u"а\tб\r\nв\r\n\r\n");
        QTest::newRow("special characters")
            << para(run("сто\xC2\xA0рублей мяг\xC2\xADкий ") + "<w:r><w:t>кто</w:t><w:noBreakHyphen/><w:t>то</w:t>"
                                                               "<w:softHyphen/></w:r>")
            << QStringLiteral(u"сто\u00A0рублей мяг\u00ADкий кто-то\u00AD\r\n");
        QTest::newRow("complex field shows its result")
            << para(run("Стр. ") +
                    "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>"
                    "<w:r><w:t>КОД</w:t></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                    run("7") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>" + run(" конец"))
            << QStringLiteral(u"Стр. 7 конец\r\n");
        QTest::newRow("simple field") << para("<w:fldSimple w:instr=\" DATE \">" + run("1 мая") + "</w:fldSimple>")
                                      << QStringLiteral(u"1 мая\r\n");
        QTest::newRow("tracked changes")
            << para(run("было ") +
                    "<w:del w:id=\"1\" w:author=\"a\"><w:r><w:delText>удалено </w:delText></w:r></w:del>"
                    "<w:ins w:id=\"2\" w:author=\"a\">" +
                    run("вставлено") + "</w:ins>")
            << QStringLiteral(u"было вставлено\r\n");
        QTest::newRow("comments hidden") << para(run("текст") + "<w:r><w:commentReference w:id=\"0\"/></w:r>")
                                         << QStringLiteral(u"текст\r\n");
        QTest::newRow("table") << QByteArray("<w:tbl><w:tblPr/><w:tr><w:tc>" + para(run("a")) + "</w:tc><w:tc>" +
                                             para(run("b")) + "</w:tc></w:tr><w:tr><w:tc>" + para(run("c")) +
                                             para(run("d")) + "</w:tc><w:tc>" + para({}) + "</w:tc></w:tr></w:tbl>" +
                                             para(run("после")))
                               << QStringLiteral(u"a\tb\r\nc\r\nd\t\r\nпосле\r\n");
        QTest::newRow("alternate content read once")
            << para("<mc:AlternateContent><mc:Choice Requires=\"wps\">" + run("рамка") + "</mc:Choice><mc:Fallback>" +
                    run("рамка") + "</mc:Fallback></mc:AlternateContent>")
            << QStringLiteral(u"рамка\r\n");
        QTest::newRow("entities") << para(run("&lt;тег&gt; &amp; &#1071;")) << QStringLiteral(u"<тег> & Я\r\n");
    }

    void text()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        const ParsedDocument doc = DocxReader::Read(package(body));
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(joined(doc), expected);
    }

    void footnotesFollowTheMainText()
    {
        const QByteArray notes = "<w:footnote w:type=\"separator\" w:id=\"-1\">" + para(run("----")) +
                                 "</w:footnote><w:footnote w:id=\"1\">" + para(run("Сноска.")) + "</w:footnote>";
        const ParsedDocument doc =
            DocxReader::Read(package(para(run("Текст") + "<w:r><w:footnoteReference w:id=\"1\"/></w:r>"), notes));
        QCOMPARE(doc.stories, (QStringList{QStringLiteral(u"Текст\r\n"), QStringLiteral(u"Сноска.\r\n")}));
    }

    void mainPartFromRelationships()
    {
        ZipBuilder zip;
        zip.add(QStringLiteral("_rels/.rels"),
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"r1\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                "Target=\"word/document2.xml\"/></Relationships>");
        zip.add(QStringLiteral("word/document2.xml"), kHead + para(run("второй")) + kTail);
        QCOMPARE(joined(DocxReader::Read(zip.build())), QStringLiteral(u"второй\r\n"));
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        const QByteArray good = package(para(run("Текст документа")));
        QTest::newRow("not zip") << QByteArray("PK\x03\x04garbage-garbage-garbage") << int(ExtractError::Damaged);
        QTest::newRow("truncated") << good.left(good.size() / 2) << int(ExtractError::Damaged);
        QTest::newRow("no main part") << ZipBuilder().add(QStringLiteral("a.txt"), "x").build()
                                      << int(ExtractError::Damaged);
        QTest::newRow("malformed xml") << ZipBuilder().add(QStringLiteral("word/document.xml"), kHead + "<w:p>").build()
                                       << int(ExtractError::Damaged);
        QByteArray deep = kHead;
        for (int i = 0; i < 5000; ++i)
            deep += "<w:p>";
        QTest::newRow("deep nesting") << ZipBuilder().add(QStringLiteral("word/document.xml"), deep).build()
                                      << int(ExtractError::Damaged);
        const QByteArray laughs =
            "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
            "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>"
            "<w:r><w:t>&c;&c;&c;&c;</w:t></w:r></w:p></w:body></w:document>";
        QTest::newRow("entity expansion")
            << ZipBuilder().add(QStringLiteral("word/document.xml"), laughs).build() << int(ExtractError::Damaged);
        QTest::newRow("declared 2 GiB") << withDeclaredSize(good, 0x7FFFFFFF) << int(ExtractError::TooLarge);
        QTest::newRow("declared too small") << withDeclaredSize(good, 10) << int(ExtractError::Damaged);
        QByteArray crowded = "<w:r";
        for (int i = 0; i <= GuardedXmlReader::kMaxAttributes; ++i)
            crowded += " w:a" + QByteArray::number(i) + "=\"1\"";
        QTest::newRow("too many attributes")
            << package(para(crowded + "><w:t>x</w:t></w:r>")) << int(ExtractError::Damaged);
    }

    // An empty table of a few thousand cells compresses far beyond 200:1, as documents
    // saved by word processors do; it is an honest document and reads.
    void emptyTableCompressesHighlyAndReads()
    {
        const QByteArray cell = "<w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc>";
        const QByteArray table = "<w:tbl>" + ("<w:tr>" + cell.repeated(10) + "</w:tr>").repeated(3000) + "</w:tbl>";
        const QByteArray bytes = package(para(run("Таблица ниже пуста.")) + table);
        const qsizetype inflated = kHead.size() + table.size();
        QVERIFY2(inflated / bytes.size() > 200, qPrintable(QString::number(inflated / bytes.size())));
        const ParsedDocument doc = DocxReader::Read(bytes);
        QCOMPARE(doc.error, ExtractError::None);
        QVERIFY(joined(doc).startsWith(QStringLiteral(u"Таблица ниже пуста.\r\n")));
    }

    // What one archive may inflate in all is bounded, whatever each part's ratio.
    void totalInflatedSizeIsBounded()
    {
        const QByteArray part(600 * 1024, ' ');
        const QByteArray bytes = ZipBuilder()
                                     .add(QStringLiteral("a"), part)
                                     .add(QStringLiteral("b"), part)
                                     .add(QStringLiteral("c"), part)
                                     .build();
        ZipArchive zip(1024 * 1024 + 512 * 1024);
        QVERIFY(zip.Open(bytes));
        QByteArray out;
        QCOMPARE(zip.Read(QStringLiteral("a"), out), ZipArchive::Status::Ok);
        QCOMPARE(out, part);
        QCOMPARE(zip.Read(QStringLiteral("b"), out), ZipArchive::Status::Ok);
        QCOMPARE(zip.Read(QStringLiteral("c"), out), ZipArchive::Status::TooLarge);
        QVERIFY(out.isEmpty());
    }

    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ParsedDocument doc = DocxReader::Read(bytes);
        QCOMPARE(int(doc.error), error);
        QVERIFY(joined(doc).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDocxReader)
#include "tst_docxreader.moc"
