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
        QVERIFY(main.contains(QStringLiteral(u"сто рублей, мягкий перенос, кто-то.\r\n")));
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
        QByteArray word6 = good;
        word6[fib] = char(0xDC);
        word6[fib + 1] = char(0xA5);
        QTest::newRow("Word 6") << word6 << int(ExtractError::UnknownFormat);
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
