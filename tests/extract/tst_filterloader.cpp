#include "extract/CDocToText.h"
#include "extract/FilterLoader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString dataFile(const QString& name)
{
    return QStringLiteral(PARAFRIX_TEST_DATA_DIR "/") + name;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A build without a PDF reader (Windows) refuses anything named .pdf as a format.
constexpr ExtractError kPdfRefusal = PARAFRIX_HAVE_PDF_READER ? ExtractError::Damaged : ExtractError::UnknownFormat;

class TestFilterLoader : public QObject
{
    Q_OBJECT

private slots:
    void sniffsContent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::newRow("doc") << QStringLiteral("features.doc") << int(DocumentFormat::Word97);
        QTest::newRow("docx") << QStringLiteral("features.docx") << int(DocumentFormat::Docx);
        QTest::newRow("odt") << QStringLiteral("features.odt") << int(DocumentFormat::Odt);
        QTest::newRow("rtf") << QStringLiteral("features.rtf") << int(DocumentFormat::Rtf);
        QTest::newRow("pdf") << QStringLiteral("features.pdf") << int(DocumentFormat::Pdf);
        QTest::newRow("txt") << QStringLiteral("features.lo.txt") << int(DocumentFormat::Text);
    }

    void sniffsContent()
    {
        QFETCH(QString, file);
        QFETCH(int, format);
        const QByteArray bytes = readAll(dataFile(file));
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(int(DocumentFormatSniffer::Sniff(bytes, QStringLiteral("renamed.bin"))), format);
    }

    // Every generated format yields the same body text: features LibreOffice wrote from
    // one source document.
    void featuresInEveryFormat_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* ext : {"odt", "docx", "doc", "rtf"})
            QTest::newRow(ext) << QStringLiteral("features.") + QString::fromLatin1(ext);
    }

    void featuresInEveryFormat()
    {
        QFETCH(QString, file);
        const ExtractResult result = CDocToText().Extract(dataFile(file));
        QVERIFY2(result.ok(), qPrintable(result.reason()));
        const QString& text = result.text;
        QVERIFY(text.startsWith(QStringLiteral(u"Глава первая\r\nСтудент переписал реферат о берёзовой роще, и "
                                               u"преподаватель остался доволен.\r\n")));
        QVERIFY(text.contains(QStringLiteral(u"Слова\tчерез табуляцию и неразрывный пробел: сто рублей, мяг\u00ADкий "
                                             u"перенос, кто-то.\r\n")));
        QVERIFY(text.contains(QStringLiteral(u"Первая строка\r\nвторая строка абзаца.\r\n")));
        QVERIFY(text.contains(QStringLiteral(u"Правка: осталось вставленноеслово в тексте.\r\n")));
        QVERIFY(text.contains(QStringLiteral(u"Замечание на полях.\r\n")));
        QVERIFY(text.contains(QStringLiteral(u"Ячейка один\tЯчейка два\r\nЯчейка три\tЯчейка четыре\r\n")));
        QVERIFY(!text.contains(QStringLiteral(u"невидимка")));
        QVERIFY(!text.contains(QStringLiteral(u"удалённоеслово")));
        QVERIFY(!text.contains(QStringLiteral(u"комментарий")));
        const qsizetype mainEnd = text.indexOf(QStringLiteral(u"кончается здесь."));
        const qsizetype note = text.indexOf(QStringLiteral(u"Сноска про рощу."));
        QVERIFY(mainEnd > 0);
        QVERIFY(note > mainEnd);
    }

    // One source saved in every format reads to the same words.
    void sameWordsInEveryFormat_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* ext : {"docx", "doc", "rtf"})
            QTest::newRow(ext) << QStringLiteral("coursework.") + QString::fromLatin1(ext);
    }

    void sameWordsInEveryFormat()
    {
        QFETCH(QString, file);
        const auto words = [](const QString& text) {
            QStringList list = text.split(
                QRegularExpression(QStringLiteral(u"[^\\w]+"), QRegularExpression::UseUnicodePropertiesOption),
                Qt::SkipEmptyParts);
            // Note marks (1, i) sit where the format puts them; they are no body text.
            list.removeAll(QStringLiteral("1"));
            list.removeAll(QStringLiteral("i"));
            return list;
        };
        const QStringList expected = words(CDocToText().GetText(dataFile(QStringLiteral("coursework.odt"))));
        QVERIFY(expected.size() > 80);
        QCOMPARE(words(CDocToText().GetText(dataFile(file))), expected);
    }

    void renamedFilesStillRead_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("renamed");
        QTest::newRow("docx as doc") << QStringLiteral("features.docx") << QStringLiteral("x.doc");
        QTest::newRow("rtf as doc") << QStringLiteral("features.rtf") << QStringLiteral("x.doc");
        QTest::newRow("doc as docx") << QStringLiteral("features.doc") << QStringLiteral("x.docx");
        QTest::newRow("odt as docx") << QStringLiteral("features.odt") << QStringLiteral("x.docx");
        QTest::newRow("text as doc") << QStringLiteral("features.lo.txt") << QStringLiteral("x.doc");
        QTest::newRow("doc without extension") << QStringLiteral("features.doc") << QStringLiteral("x");
    }

    void renamedFilesStillRead()
    {
        QFETCH(QString, source);
        QFETCH(QString, renamed);
        QTemporaryDir dir;
        const QString path = dir.filePath(renamed);
        QVERIFY(QFile::copy(dataFile(source), path));
        const ExtractResult result = CDocToText().Extract(path);
        QVERIFY2(result.ok(), qPrintable(result.reason()));
        QVERIFY(result.text.contains(QStringLiteral(u"Замечание на полях.")));
    }

    void garbageWithADocumentExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("doc") << QStringLiteral("g.doc") << int(ExtractError::Damaged);
        QTest::newRow("docx") << QStringLiteral("g.docx") << int(ExtractError::Damaged);
        QTest::newRow("odt") << QStringLiteral("g.odt") << int(ExtractError::Damaged);
        QTest::newRow("rtf") << QStringLiteral("g.rtf") << int(ExtractError::Damaged);
        QTest::newRow("pdf") << QStringLiteral("g.pdf") << int(kPdfRefusal);
        QTest::newRow("txt") << QStringLiteral("g.txt") << int(ExtractError::UnknownFormat);
        QTest::newRow("unknown") << QStringLiteral("g.xyz") << int(ExtractError::UnknownFormat);
    }

    void garbageWithADocumentExtension()
    {
        QFETCH(QString, name);
        QFETCH(int, error);
        QByteArray garbage;
        quint32 state = 12345;
        for (int i = 0; i < 20000; ++i) {
            state = state * 1103515245u + 12345u;
            garbage.append(char(state >> 24));
        }
        std::unique_ptr<IFilter> filter;
        const FilterLoadResult loaded = FilterLoader::LoadBytes(garbage, name, filter);
        QCOMPARE(int(loaded.error), error);
        QVERIFY(!filter);
        QVERIFY(!FilterStatus::Succeeded(loaded.code));
    }

    // Text is a guess when no signature matched: it loses to the name of a format whose
    // files are never text, and to .doc or .rtf unless it reads like words.
    void weakTextAgainstTheExtension_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        const QByteArray words = QStringLiteral(u"Реферат о берёзовой роще.\n").toUtf8();
        QTest::newRow("one % as pdf") << QByteArray("%") << QStringLiteral("a.pdf") << int(kPdfRefusal);
        QTest::newRow("words as pdf") << words << QStringLiteral("a.pdf") << int(kPdfRefusal);
        QTest::newRow("words as docx") << words << QStringLiteral("a.docx") << int(ExtractError::Damaged);
        QTest::newRow("words as odt") << words << QStringLiteral("a.odt") << int(ExtractError::Damaged);
        QTest::newRow("symbols as doc") << QByteArray("%%%% 1234 ;;") << QStringLiteral("a.doc")
                                        << int(ExtractError::Damaged);
        QTest::newRow("symbols as rtf") << QByteArray("{}") << QStringLiteral("a.rtf") << int(ExtractError::Damaged);
        QTest::newRow("words as doc") << words << QStringLiteral("a.doc") << int(ExtractError::None);
        QTest::newRow("words as rtf") << words << QStringLiteral("a.rtf") << int(ExtractError::None);
        QTest::newRow("one % as txt") << QByteArray("%") << QStringLiteral("a.txt") << int(ExtractError::None);
        QTest::newRow("one % without extension") << QByteArray("%") << QStringLiteral("a") << int(ExtractError::None);
    }

    void weakTextAgainstTheExtension()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, error);
        std::unique_ptr<IFilter> filter;
        const FilterLoadResult loaded = FilterLoader::LoadBytes(bytes, name, filter);
        QCOMPARE(int(loaded.error), error);
        QCOMPARE(filter != nullptr, error == int(ExtractError::None));
    }

    void loadIFilterServesChunks()
    {
        std::unique_ptr<IFilter> filter;
        const FilterLoadResult loaded = LoadIFilter(dataFile(QStringLiteral("features.odt")), filter);
        QCOMPARE(loaded.code, FilterStatus::Ok);
        QVERIFY(filter);
        FilterChunk chunk;
        int chunks = 0;
        while (filter->GetChunk(&chunk) == FilterStatus::Ok)
            ++chunks;
        QCOMPARE(chunks, 3); // body, footnotes, endnotes
        QCOMPARE(filter->GetChunk(&chunk), FilterStatus::EndOfChunks);
    }
};

QTEST_GUILESS_MAIN(TestFilterLoader)
#include "tst_filterloader.moc"
