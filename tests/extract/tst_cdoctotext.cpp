#include "HiddenMarks.h"
#include "ScriptedFilter.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFilter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Chunk = ScriptedFilter::Chunk;
using Piece = ScriptedFilter::Piece;

Chunk textChunk(const QList<Piece>& pieces)
{
    Chunk chunk;
    chunk.pieces = pieces;
    return chunk;
}

Chunk statusChunk(FilterStatus::Code status)
{
    Chunk chunk;
    chunk.status = status;
    chunk.pieces = {Piece{QStringLiteral("HIDDEN")}};
    return chunk;
}

// The real story filter, recording the count of every GetText call; it hands a story
// over whole only when told to, so that the pieces can be watched.
class ParsedDocumentFilterProbe : public DocumentFilter
{
public:
    explicit ParsedDocumentFilterProbe(const QString& text, bool handsOverWhole = false)
        : ParsedDocumentFilterProbe(oneStory(text), handsOverWhole)
    {
    }
    ParsedDocumentFilterProbe(ParsedDocument document, bool handsOverWhole)
        : DocumentFilter(std::move(document)), m_handsOverWhole(handsOverWhole)
    {
    }
    QList<std::uint32_t> counts;
    FilterStatus::Code GetText(std::uint32_t* count, char16_t* buffer) override
    {
        counts.append(*count);
        return DocumentFilter::GetText(count, buffer);
    }
    bool TakeText(QString& text) override { return m_handsOverWhole && DocumentFilter::TakeText(text); }

private:
    static ParsedDocument oneStory(const QString& text)
    {
        ParsedDocument doc;
        doc.stories = {text};
        return doc;
    }

    bool m_handsOverWhole = false;
};

} // namespace

class TestCDocToText : public QObject
{
    Q_OBJECT

private slots:
    void initFlagsAreTheCanonicalSet()
    {
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("a")}})};
        CDocToText::ReadFilter(filter);
        QVERIFY(filter.initialised);
        QCOMPARE(filter.initFlags, std::uint32_t(0x5D));
    }

    void piecesAreJoinedWithoutSeparators()
    {
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("Пер")}, Piece{QStringLiteral("вый ")}}),
                         textChunk({Piece{QStringLiteral("второй")}})};
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QCOMPARE(result.text, QStringLiteral(u"Первый второй"));
        QVERIFY(result.ok());
    }

    void chunkBoundaryAddsNoSpace()
    {
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("слово")}}), textChunk({Piece{QStringLiteral("слово")}})};
        QCOMPARE(CDocToText::ReadFilter(filter).text, QStringLiteral(u"словослово"));
    }

    void longChunkArrivesInBufferSizedPieces()
    {
        // A filter honouring the count: 10000 units arrive as 4096 + 4096 + 1808.
        QString text;
        for (int i = 0; i < 10000; ++i)
            text += QChar(u'а' + (i % 32));
        ParsedDocumentFilterProbe probe(text);
        const ExtractResult result = CDocToText::ReadFilter(probe);
        QCOMPARE(result.text, text);
        QCOMPARE(probe.counts, (QList<std::uint32_t>{4096, 4096, 4096}));
    }

    // A story handed over whole reads as it does piece by piece, hidden runs and all;
    // one holding a NUL still goes piece by piece, to be cut at the NUL.
    void storyHandedOverWhole_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("whole");
        QTest::newRow("plain") << QString(5000, QChar(u'я')) << true;
        QTest::newRow("with a nul") << QStringLiteral(u"до") + QChar(u'\0') + QStringLiteral(u"после") << false;
    }

    void storyHandedOverWhole()
    {
        QFETCH(QString, second);
        QFETCH(bool, whole);
        ParsedDocument document;
        document.AddStory(QString(5000, QChar(u'а')), {HiddenSpan{10, 20}});
        document.AddStory(second, {HiddenSpan{1, 2}});
        ParsedDocumentFilterProbe taken(document, true);
        ParsedDocumentFilterProbe pieces(document, false);
        const ExtractResult viaTaken = CDocToText::ReadFilter(taken);
        const ExtractResult viaPieces = CDocToText::ReadFilter(pieces);
        QCOMPARE(viaTaken.text, viaPieces.text);
        QCOMPARE(viaTaken.hidden.size(), viaPieces.hidden.size());
        for (qsizetype i = 0; i < viaTaken.hidden.size(); ++i) {
            QCOMPARE(viaTaken.hidden.at(i).start, viaPieces.hidden.at(i).start);
            QCOMPARE(viaTaken.hidden.at(i).length, viaPieces.hidden.at(i).length);
        }
        QCOMPARE(taken.counts.isEmpty(), whole);
        QCOMPARE(pieces.counts.size(), whole ? 4 : 3);
    }

    void nulCutsThePieceAtIt()
    {
        ScriptedFilter filter;
        QString withNul = QStringLiteral("до");
        withNul += QChar(u'\0');
        withNul += QStringLiteral(u"после");
        filter.chunks = {textChunk({Piece{withNul}, Piece{QStringLiteral(u"|дальше")}})};
        QCOMPARE(CDocToText::ReadFilter(filter).text, QStringLiteral(u"до|дальше"));
    }

    // Spans stay on their text across stories and buffer-sized pieces; spans that do
    // not fit their story are cut.
    void hiddenRunsFollowTheirStory()
    {
        const QString longStory = QString(CDocToText::kBufferUnits - 2, u'a') + QStringLiteral(u"скрытоb");
        ParsedDocument doc;
        doc.AddStory(longStory, {HiddenSpan{CDocToText::kBufferUnits - 2, 6}});
        doc.AddStory(QStringLiteral(u"xyz"), {HiddenSpan{0, 1}, HiddenSpan{0, 2}, HiddenSpan{2, 9}});
        doc.stories.append(QStringLiteral(u"past"));
        doc.hidden.append({HiddenSpan{7, 2}});
        DocumentFilter filter(doc);
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QCOMPARE(MarkHidden(result.text, result.hidden),
                 QString(CDocToText::kBufferUnits - 2, u'a') + QStringLiteral(u"[скрыто]b[x]y[z]past"));
    }

    void lastTextEndsTheChunk()
    {
        ScriptedFilter filter;
        filter.chunks = {
            textChunk({Piece{QStringLiteral("конец"), FilterStatus::LastText}, Piece{QStringLiteral("НЕ ЧИТАТЬ")}})};
        QCOMPARE(CDocToText::ReadFilter(filter).text, QStringLiteral(u"конец"));
    }

    void unavailableEmbeddingsAndLinksAreSkipped_data()
    {
        QTest::addColumn<quint32>("status");
        QTest::newRow("embedding") << quint32(FilterStatus::EmbeddingUnavailable);
        QTest::newRow("link") << quint32(FilterStatus::LinkUnavailable);
    }

    void unavailableEmbeddingsAndLinksAreSkipped()
    {
        QFETCH(quint32, status);
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("до ")}}), statusChunk(status),
                         textChunk({Piece{QStringLiteral("после")}})};
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QCOMPARE(result.text, QStringLiteral(u"до после"));
        QVERIFY(result.ok());
    }

    void passwordAndAccessStopWithTheTextSoFar_data()
    {
        QTest::addColumn<quint32>("status");
        QTest::addColumn<int>("error");
        QTest::newRow("password") << quint32(FilterStatus::Password) << int(ExtractError::PasswordProtected);
        QTest::newRow("access") << quint32(FilterStatus::Access) << int(ExtractError::NoPermission);
    }

    void passwordAndAccessStopWithTheTextSoFar()
    {
        QFETCH(quint32, status);
        QFETCH(int, error);
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("начало")}}), statusChunk(status),
                         textChunk({Piece{QStringLiteral("хвост")}})};
        const ExtractResult kept = CDocToText::ReadFilter(filter);
        QCOMPARE(kept.text, QStringLiteral(u"начало"));
        QCOMPARE(filter.getChunkCalls, 2);

        ScriptedFilter first;
        first.chunks = {statusChunk(status), textChunk({Piece{QStringLiteral("хвост")}})};
        const ExtractResult none = CDocToText::ReadFilter(first);
        QVERIFY(none.text.isEmpty());
        QCOMPARE(int(none.error), error);
    }

    void valueChunkWithoutTextIsPassedOver()
    {
        ScriptedFilter filter;
        Chunk value;
        value.end = FilterStatus::NoText;
        filter.chunks = {value, textChunk({Piece{QStringLiteral("текст")}})};
        QCOMPARE(CDocToText::ReadFilter(filter).text, QStringLiteral(u"текст"));
    }

    void otherChunkFailuresStillAskForText()
    {
        ScriptedFilter filter;
        Chunk odd;
        odd.status = FilterStatus::UnknownFormat;
        odd.pieces = {Piece{QStringLiteral("всё же")}};
        filter.chunks = {odd};
        QCOMPARE(CDocToText::ReadFilter(filter).text, QStringLiteral(u"всё же"));
    }

    void chunkFailingForeverEnds()
    {
        ScriptedFilter filter;
        filter.chunks = {textChunk({Piece{QStringLiteral("часть")}})};
        filter.afterScript = FilterStatus::Fail;
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QCOMPARE(result.text, QStringLiteral(u"часть"));
        QVERIFY(filter.getChunkCalls <= CDocToText::kMaxFailures + 3);
    }

    void textFailingForeverEnds_data()
    {
        QTest::addColumn<int>("endless");
        QTest::newRow("failure") << int(ScriptedFilter::Endless::Failure);
        QTest::newRow("empty pieces") << int(ScriptedFilter::Endless::EmptyPiece);
    }

    void textFailingForeverEnds()
    {
        QFETCH(int, endless);
        ScriptedFilter filter;
        filter.chunks = {textChunk({})};
        filter.endless = ScriptedFilter::Endless(endless);
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QVERIFY(result.text.isEmpty());
        QCOMPARE(result.error, ExtractError::NoText);
        QVERIFY(filter.getTextCalls <= CDocToText::kMaxFailures + 2);
    }

    void endlessTextIsTooLarge()
    {
        ScriptedFilter filter;
        filter.chunks = {textChunk({})};
        filter.endless = ScriptedFilter::Endless::FullPiece;
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QVERIFY(result.text.isEmpty());
        QCOMPARE(result.error, ExtractError::TooLarge);
        QCOMPARE(qsizetype(filter.getTextCalls), CDocToText::kMaxTextUnits / CDocToText::kBufferUnits + 1);
    }

    void emptyDocumentNamesNoText()
    {
        ScriptedFilter filter;
        const ExtractResult result = CDocToText::ReadFilter(filter);
        QVERIFY(result.text.isEmpty());
        QCOMPARE(result.error, ExtractError::NoText);
        QVERIFY(!result.reason().isEmpty());
    }

    void extractNamesTheReason_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("unknown binary") << QByteArray("\x01\x02\x00\x7f\x00\x00\x10", 7) << QStringLiteral("x.bin")
                                        << int(ExtractError::UnknownFormat);
        QTest::newRow("garbage .docx") << QByteArray("\x01\x02\x00\x7f\x00\x00\x10", 7) << QStringLiteral("x.docx")
                                       << int(ExtractError::Damaged);
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("x.txt") << int(ExtractError::NoText);
        QTest::newRow("blank text") << QByteArray("   ") << QStringLiteral("x.txt") << int(ExtractError::None);
    }

    void extractNamesTheReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        CDocToText extractor;
        const ExtractResult result = extractor.Extract(path);
        QCOMPARE(int(result.error), error);
        QCOMPARE(extractor.GetText(path), result.text);
    }

    void missingFileAndFolder()
    {
        QTemporaryDir dir;
        CDocToText extractor;
        QCOMPARE(extractor.Extract(dir.filePath(QStringLiteral("нет.doc"))).error, ExtractError::FileMissing);
        QCOMPARE(extractor.Extract(dir.path()).error, ExtractError::IsFolder);
        QVERIFY(extractor.GetText(dir.filePath(QStringLiteral("нет.doc"))).isEmpty());
    }

    void unreadableFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("closed.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("secret");
        file.close();
        if (!file.setPermissions(QFileDevice::Permissions()))
            QSKIP("permissions cannot close a file here (Windows keeps them in access lists)");
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that ignore file permissions");
        QCOMPARE(CDocToText().Extract(path).error, ExtractError::NoPermission);
    }
};

QTEST_GUILESS_MAIN(TestCDocToText)
#include "tst_cdoctotext.moc"
