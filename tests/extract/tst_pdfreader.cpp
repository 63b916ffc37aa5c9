#include "extract/PdfReader.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(ExtractError)

namespace {

// A PDF of the given objects (object n is objects[n - 1], the catalog first), with
// the offsets of its cross-reference table computed.
QByteArray assemble(const QList<QByteArray>& objects, const QByteArray& trailer = {})
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " + trailer +
           " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QByteArray stream(const QByteArray& content)
{
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
}

// A one-page PDF whose lines are drawn at the given heights (points from the bottom),
// in Helvetica 12.
QByteArray makePdf(const QList<QPair<int, QByteArray>>& lines, const QByteArray& trailer = {})
{
    QByteArray content = "BT /F1 12 Tf\n";
    for (const auto& line : lines)
        content += "1 0 0 1 72 " + QByteArray::number(line.first) + " Tm (" + line.second + ") Tj\n";
    content += "ET\n";
    return assemble({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                     "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
                     "/Resources << /Font << /F1 5 0 R >> >> >>",
                     stream(content), "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
                    trailer);
}

// A PDF of many pages, page n saying "Page n.".
QByteArray makePages(int pages)
{
    QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", {}, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray kids;
    for (int i = 0; i < pages; ++i) {
        const int page = int(objects.size()) + 1;
        kids += QByteArray::number(page) + " 0 R ";
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                       QByteArray::number(page + 1) + " 0 R /Resources << /Font << /F1 3 0 R >> >> >>");
        objects.append(stream("BT /F1 12 Tf 72 700 Td (Page " + QByteArray::number(i + 1) + ".) Tj ET\n"));
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages) + " >>";
    return assemble(objects);
}

const QByteArray kCatalog = "<< /Type /Catalog /Pages 2 0 R >>";
const QByteArray kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";

QByteArray page(int contents, const QByteArray& resources = "/Font << /F1 3 0 R >>")
{
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " + QByteArray::number(contents) +
           " 0 R /Resources << " + resources + " >> >>";
}

// A page tree of the given kids (catalog 1, tree 2, font 3, then a page and its
// contents for each text), padded with spare objects: poppler believes a /Count only
// up to the number of objects.
QByteArray makeTree(const QByteArray& kids, int count, const QList<QByteArray>& texts)
{
    QList<QByteArray> objects = {
        kCatalog, "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>", kFont};
    for (const QByteArray& text : texts) {
        objects.append(page(int(objects.size()) + 2));
        objects.append(stream("BT /F1 12 Tf 72 700 Td (" + text + ") Tj ET"));
    }
    while (objects.size() < count + 4)
        objects.append("<< >>");
    return assemble(objects);
}

// One page that uses form 5 + depth, each form using the one before it `fanout` times
// and the first drawing what `leaf` draws.
QByteArray makeNestedForms(int depth, int fanout, const QByteArray& leaf)
{
    QList<QByteArray> objects = {kCatalog, "<< /Type /Pages /Kids [4 0 R] /Count 1 >>", kFont,
                                 page(6 + depth, "/XObject << /X " + QByteArray::number(5 + depth) + " 0 R >>")};
    for (int k = 0; k <= depth; ++k) {
        const QByteArray resources =
            k == 0 ? "/Font << /F1 3 0 R >>" : "/XObject << /Y " + QByteArray::number(4 + k) + " 0 R >>";
        const QByteArray content = k == 0 ? leaf : QByteArray("/Y Do ").repeated(fanout);
        objects.append("<< /Type /XObject /Subtype /Form /BBox [0 0 612 792] /Resources << " + resources +
                       " >> /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream");
    }
    objects.append(stream("/X Do"));
    return assemble(objects);
}

// Pages that share one content stream (object 4): one string of glyphs, drawn beside
// the page where they are not kept.
QByteArray makeGlyphPages(int pages, int glyphs)
{
    QList<QByteArray> objects = {
        kCatalog, {}, kFont, stream("BT /F1 12 Tf -900 -900 Td (" + QByteArray(glyphs, 'a') + ") Tj ET")};
    QByteArray kids;
    for (int i = 0; i < pages; ++i) {
        kids += QByteArray::number(objects.size() + 1) + " 0 R ";
        objects.append(page(4));
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages) + " >>";
    return assemble(objects);
}

} // namespace

class TestPdfReader : public QObject
{
    Q_OBJECT

private slots:
    void linesJoinIntoParagraphs_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("expected");
        const QByteArray full = "The quick brown fox jumps over the lazy dog and keeps running";
        QTest::newRow("wrapped lines join with a space")
            << makePdf({{700, full}, {686, "to the river."}})
            << QStringLiteral(u"%1 to the river.\r\n").arg(QString::fromLatin1(full));
        QTest::newRow("hyphen before lower case joins")
            << makePdf({{700, full + " experi-"}, {686, "ment ends."}})
            << QStringLiteral(u"%1 experiment ends.\r\n").arg(QString::fromLatin1(full));
        QTest::newRow("hyphen before capital stays")
            << makePdf({{700, full + " North-"}, {686, "East wind."}})
            << QStringLiteral(u"%1 North- East wind.\r\n").arg(QString::fromLatin1(full));
        QTest::newRow("blank line ends paragraph")
            << makePdf({{700, full}, {686, full}, {658, "Second paragraph."}})
            << QStringLiteral(u"%1 %1\r\nSecond paragraph.\r\n").arg(QString::fromLatin1(full));
        QTest::newRow("short line ends paragraph") << makePdf({{700, "Title"}, {686, full}})
                                                   << QStringLiteral(u"Title\r\n%1\r\n").arg(QString::fromLatin1(full));
    }

    void linesJoinIntoParagraphs()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, expected);
        const ParsedDocument doc = PdfReader::Read(pdf);
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.join(QString()), expected);
    }

    void generatedDocument()
    {
        QFile file(QStringLiteral(PARAFRIX_TEST_DATA_DIR "/prose.pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ParsedDocument doc = PdfReader::Read(file.readAll());
        QCOMPARE(doc.error, ExtractError::None);
        const QString text = doc.stories.join(QString());
        QVERIFY(text.startsWith(QStringLiteral(u"Осенний семинар по экологии\r\nГруппа студентов третьего курса")));
        QVERIFY(text.contains(QStringLiteral(u"считали птиц, прилетавших к кормушкам.\r\nРуководитель практики")));
    }

    // Every page is read, in order, with one pass over the document.
    void manyPages()
    {
        const ParsedDocument doc = PdfReader::Read(makePages(2000));
        QCOMPARE(doc.error, ExtractError::None);
        QString expected;
        for (int i = 1; i <= 2000; ++i)
            expected += QStringLiteral("Page %1.\r\n").arg(i);
        QCOMPARE(doc.stories.join(QString()), expected);
    }

    // A document encrypted with a password other than the empty one cannot be opened.
    void encryptedAnswersPassword()
    {
        const QByteArray key(32, 'k');
        const QByteArray id = "<0123456789abcdef0123456789abcdef>";
        const QByteArray pdf =
            makePdf({{700, "secret"}}, "/Encrypt << /Filter /Standard /V 1 /R 2 /O <" + key.toHex() + "> /U <" +
                                           key.toHex() + "> /P -4 >> /ID [" + id + " " + id + "]");
        QCOMPARE(PdfReader::Read(pdf).error, ExtractError::PasswordProtected);
    }

    // A page the tree lists but the file lacks is damage, never the previous page again;
    // a page listed again is read once. Drawing is bounded per page and per document.
    void pageTreesAndBudgets_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<ExtractError>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("orTooSlow");
        QTest::newRow("count beyond the pages")
            << makeTree("4 0 R", 4, {"Only page."}) << ExtractError::Damaged << QString() << false;
        QTest::newRow("null among the kids")
            << makeTree("4 0 R null 6 0 R", 3, {"One.", "Two."}) << ExtractError::Damaged << QString() << false;
        QTest::newRow("one page listed three times")
            << makeTree("4 0 R 6 0 R 4 0 R 4 0 R", 4, {"One.", "Two."}) << ExtractError::None
            << QStringLiteral(u"One.\r\nTwo.\r\n") << false;
        QTest::newRow("a glyph drawn through forms 10^8 times")
            << makeNestedForms(8, 10, "BT /F1 12 Tf 72 700 Td (a) Tj ET") << ExtractError::TooLarge << QString()
            << false;
        // Nothing drawn, but a complaint about each of 10^6 uses of a form that is not there.
        // On a slow build (sanitizers) the page's processor-time bound may trip first.
        QTest::newRow("a missing form asked for 10^6 times")
            << makeNestedForms(5, 10, QByteArray("/Z Do ").repeated(10)) << ExtractError::TooLarge << QString() << true;
        QTest::newRow("forms within the budget") << makeNestedForms(2, 10, "BT /F1 12 Tf 72 700 Td (a) Tj ET")
                                                 << ExtractError::None << QStringLiteral(u"a\r\n") << false;
        QTest::newRow("too many glyphs on a page")
            << makeGlyphPages(1, int(PdfReader::kMaxPageGlyphs) + 1) << ExtractError::TooLarge << QString() << false;
        // Each page within its own bound, all of them past the document's.
        const int pages = int(PdfReader::kMaxWork / PdfReader::kMaxPageGlyphs);
        QTest::newRow("glyphs past the document's budget")
            << makeGlyphPages(pages, int(PdfReader::kMaxPageGlyphs)) << ExtractError::TooLarge << QString() << false;
        QTest::newRow("glyphs within it")
            << makeGlyphPages(2, int(PdfReader::kMaxPageGlyphs)) << ExtractError::None << QString() << false;
    }

    void pageTreesAndBudgets()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(ExtractError, error);
        QFETCH(QString, text);
        QFETCH(bool, orTooSlow);
        const ParsedDocument doc = PdfReader::Read(pdf);
        if (!(orTooSlow && doc.error == ExtractError::Damaged))
            QCOMPARE(doc.error, error);
        QCOMPARE(doc.stories.join(QString()), text);
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage") << QByteArray("%PDF-1.4\n\x01\x02\x03 garbage garbage");
        QTest::newRow("truncated") << makePdf({{700, "text"}}).left(60);
        QTest::newRow("empty") << QByteArray();
    }

    void badInput()
    {
        QFETCH(QByteArray, bytes);
        const ParsedDocument doc = PdfReader::Read(bytes);
        QVERIFY(doc.error != ExtractError::None || doc.stories.join(QString()).trimmed().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPdfReader)
#include "tst_pdfreader.moc"
