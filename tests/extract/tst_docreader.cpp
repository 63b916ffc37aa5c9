#include "Word6Builder.h"
#include "extract/CDocToText.h"
#include "extract/DocReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray fixture()
{
    QFile file(QStringLiteral(PARAFRIX_TEST_DATA_DIR "/features.doc"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 get32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

// Offset of the FAT entry for a sector (the test files have one FAT sector).
qsizetype fatEntry(const QByteArray& b, quint32 sector)
{
    return (qsizetype(get32(b, 76)) + 1) * 512 + 4 * qsizetype(sector);
}

// Offset of the directory entry with that name, following the directory chain.
qsizetype entryOffset(const QByteArray& b, const QString& name)
{
    quint32 sector = get32(b, 48);
    for (int hops = 0; hops < 16 && sector < 0xFFFFFFFA; ++hops) {
        for (int i = 0; i < 4; ++i) {
            const qsizetype at = (qsizetype(sector) + 1) * 512 + 128 * i;
            const int chars = qFromLittleEndian<quint16>(b.constData() + at + 64) / 2 - 1;
            if (chars > 0 && QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + at), chars) == name)
                return at;
        }
        sector = get32(b, fatEntry(b, sector));
    }
    return -1;
}

// Offset in the file of the WordDocument stream's first byte.
qsizetype wordDocumentStart(const QByteArray& b)
{
    return (qsizetype(get32(b, entryOffset(b, QStringLiteral("WordDocument")) + 116)) + 1) * 512;
}

} // namespace

class TestDocReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QByteArray bytes = fixture();
        QVERIFY(bytes.size() > 1024);
        QVERIFY(entryOffset(bytes, QStringLiteral("WordDocument")) > 0);
    }

    void readsTheStoriesInOrder()
    {
        const ParsedDocument doc = DocReader::Read(fixture());
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.size(), 3);
        const QString main = doc.stories.at(0);
        QVERIFY(main.startsWith(QStringLiteral(u"Глава первая\r\nСтудент переписал реферат о берёзовой роще, и")));
        QVERIFY(main.contains(QStringLiteral(u"сто рублей, мяг\u00ADкий перенос, кто-то.\r\n")));
        QVERIFY(main.contains(QStringLiteral(u"Первая строка\r\nвторая строка абзаца.")));
        QVERIFY(main.contains(QStringLiteral(u"Ячейка один\tЯчейка два\r\nЯчейка три\tЯчейка четыре\r\n")));
        QVERIFY(main.contains(QStringLiteral(u"Правка: осталось вставленноеслово в тексте.")));
        QVERIFY(!main.contains(QStringLiteral(u"удалённоеслово")));
        QVERIFY(!main.contains(QStringLiteral(u"невидимка")));
        QVERIFY(!main.contains(QStringLiteral(u"комментарий")));
        QVERIFY(!main.contains(QStringLiteral(u"PAGE")));
        QVERIFY(doc.stories.at(1).endsWith(QStringLiteral(u"Сноска про рощу.\r\n")));
        QVERIFY(!doc.stories.at(1).endsWith(QStringLiteral(u"\r\n\r\n")));
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        const QByteArray good = fixture();
        const qsizetype wd = entryOffset(good, QStringLiteral("WordDocument"));
        const quint32 start = get32(good, wd + 116);

        QTest::newRow("truncated") << good.left(good.size() / 2) << int(ExtractError::Damaged);
        QTest::newRow("header only") << good.left(512) << int(ExtractError::Damaged);
        QByteArray cyclic = good;
        put32(cyclic, fatEntry(cyclic, start), start);
        QTest::newRow("cyclic chain") << cyclic << int(ExtractError::Damaged);
        QByteArray outside = good;
        put32(outside, wd + 116, 0x00FFFFF0);
        QTest::newRow("start out of range") << outside << int(ExtractError::Damaged);
        QByteArray huge = good;
        put32(huge, wd + 120, 0xFFFFFFF0);
        QTest::newRow("enormous size") << huge << int(ExtractError::Damaged);
        QByteArray fatCount = good;
        put32(fatCount, 44, 0x7FFFFFFF);
        QTest::newRow("enormous FAT count") << fatCount << int(ExtractError::Damaged);
        QByteArray difat = good;
        put32(difat, 44, 200);
        put32(difat, 68, 1);
        put32(difat, fatEntry(difat, 0), 1);
        QTest::newRow("DIFAT loop") << difat << int(ExtractError::Damaged);
        QByteArray dirLoop = good;
        const quint32 dirSector = get32(good, 48);
        put32(dirLoop, fatEntry(dirLoop, dirSector), dirSector);
        QTest::newRow("directory loop") << dirLoop << int(ExtractError::Damaged);
        QByteArray clx = good;
        const qsizetype fib = wordDocumentStart(good);
        put32(clx, fib + 0x1A2, 0x7FFFFFF0);
        QTest::newRow("piece table outside") << clx << int(ExtractError::Damaged);
        QByteArray garbage = good.left(512) + QByteArray(8192, char(0xA5));
        QTest::newRow("garbage body") << garbage << int(ExtractError::Damaged);
    }

    void damaged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ParsedDocument doc = DocReader::Read(bytes);
        QCOMPARE(int(doc.error), error);
        QVERIFY(doc.stories.join(QString()).isEmpty());
    }

    // Word 6.0 and Word 95 files made by Word6Builder (see there how): 8-bit text in the
    // code page of the fonts' character set or the language, plain or fast-saved.
    void word6_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("footnotes");
        const QByteArray russian = "\xD1\xF2\xF3\xE4\xE5\xED\xF2 \xEF\xE5\xF0\xE5\xEF\xE8\xF1\xE0\xEB "
                                   "\xF0\xE5\xF4\xE5\xF0\xE0\xF2.\r\xC2\xF2\xEE\xF0\xEE\xE9 \xE0\xE1\xE7\xE0\xF6.\r";
        const QString russianText = QStringLiteral(u"Студент переписал реферат.\r\nВторой абзац.\r\n");

        Word6Builder ru;
        ru.lid = 0x0419;
        ru.main = russian;
        QTest::newRow("Word 6, Russian by language") << ru.build() << russianText << QString();

        Word6Builder cyrFonts;
        cyrFonts.nFib = 104;
        cyrFonts.fonts = {{"Times New Roman", 0}, {"Symbol", 2}, {"Times New Roman Cyr", 204}};
        cyrFonts.main = russian;
        QTest::newRow("Word 95 in English Word, Cyrillic fonts") << cyrFonts.build() << russianText << QString();

        Word6Builder english;
        english.nFib = 104;
        english.fonts = {{"Times New Roman", 0}};
        english.main = "A caf\xE9 \x93quoted\x94 text.\rSecond line\x0B"
                       "broken.\r";
        QTest::newRow("Word 95, English in 1252")
            << english.build() << QStringLiteral(u"A café “quoted” text.\r\nSecond line\r\nbroken.\r\n") << QString();

        Word6Builder mac;
        mac.chse = 256;
        mac.main = "Caf\x8E.\r";
        QTest::newRow("Macintosh character set") << mac.build() << QStringLiteral(u"Café.\r\n") << QString();

        Word6Builder fields;
        fields.lid = 0x0419;
        fields.main = "\xD1\xF2\xF0. \x13 PAGE \x14"
                      "7\x15, \xFF\xF7\xE5\xE9\xEA\xE0\x07\xE4\xE2\xE0\x07\x07\r";
        QTest::newRow("field code hidden, cells as tabs")
            << fields.build() << QStringLiteral(u"Стр. 7, ячейка\tдва\t\t\r\n") << QString();

        Word6Builder notes = ru;
        notes.main = russian.left(26) + "\x02\r";
        notes.footnotes = "\x02 \xD1\xED\xEE\xF1\xEA\xE0.\r\r";
        QTest::newRow("footnote story") << notes.build() << QStringLiteral(u"Студент переписал реферат.\r\n")
                                        << QStringLiteral(u" Сноска.\r\n");

        for (const int pieces : {1, 3, 7}) {
            Word6Builder fast = ru;
            fast.footnotes = notes.footnotes;
            fast.fastSavedPieces = pieces;
            QTest::newRow(qPrintable(QStringLiteral("fast-saved, %1 pieces").arg(pieces)))
                << fast.build() << russianText << QStringLiteral(u" Сноска.\r\n");
        }
    }

    void word6()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, main);
        QFETCH(QString, footnotes);
        const ParsedDocument doc = DocReader::Read(bytes);
        QCOMPARE(doc.error, ExtractError::None);
        QCOMPARE(doc.stories.value(0), main);
        QCOMPARE(doc.stories.value(1), footnotes);
        QVERIFY(!doc.stories.join(QString()).contains(u'X')); // stale text of fast saves
    }

    void damagedWord6_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        Word6Builder plain;
        plain.main = "Text.\r";
        Word6Builder encrypted = plain;
        encrypted.encrypted = true;
        QTest::newRow("encrypted") << encrypted.build() << int(ExtractError::PasswordProtected);
        Word6Builder fast = plain;
        fast.fastSavedPieces = 2;
        const QByteArray wd = fast.wordDocument();
        const quint32 clx = get32(wd, 0x58 + 8 * 33);
        QByteArray outside = wd;
        put32(outside, clx + 6 + 4 * 3 + 2, 0x7FFFFF00); // the first piece's offset
        QTest::newRow("piece outside the stream") << Word6Builder::compoundFile(outside) << int(ExtractError::Damaged);
        QByteArray noTable = wd;
        put32(noTable, 0x58 + 8 * 33 + 4, 0);
        QTest::newRow("fast-saved without piece table")
            << Word6Builder::compoundFile(noTable) << int(ExtractError::Damaged);
        QByteArray textOutside = plain.wordDocument();
        put32(textOutside, 0x1C, 0x00FFFFFF);
        QTest::newRow("text past the stream") << Word6Builder::compoundFile(textOutside) << int(ExtractError::Damaged);
        // Stored in the FAT chain however short: a mini stream cutoff of 256 bytes.
        QByteArray cut = Word6Builder::compoundFile(plain.wordDocument().left(0x180));
        put32(cut, 56, 256);
        QTest::newRow("header cut short") << cut << int(ExtractError::Damaged);
    }

    void damagedWord6()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ParsedDocument doc = DocReader::Read(bytes);
        QCOMPARE(int(doc.error), error);
        QVERIFY(doc.stories.join(QString()).isEmpty());
    }

    void encryptedAnswersPassword()
    {
        QByteArray bytes = fixture();
        const qsizetype flags = wordDocumentStart(bytes) + 0x0A;
        bytes[flags + 1] = char(bytes.at(flags + 1) | 0x01);
        QCOMPARE(DocReader::Read(bytes).error, ExtractError::PasswordProtected);

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("locked.doc")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const ExtractResult result = CDocToText().Extract(file.fileName());
        QVERIFY(result.text.isEmpty());
        QCOMPARE(result.error, ExtractError::PasswordProtected);
    }
};

QTEST_GUILESS_MAIN(TestDocReader)
#include "tst_docreader.moc"
