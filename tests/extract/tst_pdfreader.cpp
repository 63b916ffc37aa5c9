#include "extract/PdfReader.h"

#include <QFile>
#include <QTest>

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
