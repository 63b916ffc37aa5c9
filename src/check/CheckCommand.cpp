#include "check/CheckCommand.h"

#include "check/CheckOptions.h"
#include "compare/FindSimilarPhrases.h"
#include "compare/NearOriginality.h"
#include "compare/NearStemTable.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "morph/Stemmer.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// A document of blanks, line breaks or punctuation alone has nothing to compare: an
// emptied or wrongly chosen file must not pass for a thoroughly rewritten one.
void refuseBlank(ExtractResult& result)
{
    if (result.text.isEmpty())
        return;
    for (QChar c : std::as_const(result.text)) {
        if (c.isLetterOrNumber())
            return;
    }
    result.text.clear();
    result.error = ExtractError::NoText;
}

ExtractResult fromText(const QString& text)
{
    ExtractResult result;
    result.text = text;
    if (text.isEmpty())
        result.error = ExtractError::NoText;
    return result;
}

// The sentences the sentence list keeps (the same walk as CFrazes), prepared for the
// near-match search, so that indices in both line up.
QList<NearSentence> nearSentences(const QString& text, const CheckOptions& options, NearStemTable& table)
{
    const QString normalized = NormalizeLineBreaks(text);
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    QList<NearSentence> sentences;
    Tokenizer tokens(normalized, sentenceDelimiters);
    QStringView sentence;
    while (tokens.next(sentence)) {
        if (sentence != u" " && CountWords(sentence, wordDelimiters) >= options.MinWords) {
            sentences.append(table.sentence(sentence.toString(), wordDelimiters));
            const qsizetype end = sentence.data() - normalized.data() + sentence.size();
            if (end < normalized.size())
                sentences.last().end = normalized.at(end);
        }
    }
    return sentences;
}

// Indices of the edited sentences an exact match lists. Equal texts have equal
// fingerprints, so every sentence with the text of a listed one is matched too.
QList<qint32> exactEditedIndices(const PhraseMatchList& matches, const QList<NearSentence>& edited)
{
    QSet<QString> texts;
    for (const PhraseMatch& match : matches)
        texts.insert(match.edited);
    QList<qint32> indices;
    if (texts.isEmpty())
        return indices;
    for (qsizetype i = 0; i < edited.size(); ++i) {
        if (texts.contains(edited.at(i).text))
            indices.append(qint32(i));
    }
    return indices;
}

// The bytes a match takes in a report: its sentences in UTF-8 and an allowance for the
// rest of its entry. A sentence in many matches is one string, measured once.
class ReportSize
{
public:
    qsizetype of(const PhraseMatch& match)
    {
        return CheckOptions::kReportEntryBytes + bytes(match.original) + bytes(match.edited);
    }

    qsizetype of(const NearMatch& match, const CheckOutcome& outcome)
    {
        qsizetype total = CheckOptions::kReportEntryBytes;
        for (qint32 i = 0; i < match.originalCount; ++i)
            total += bytes(outcome.originalSentences.at(match.originalFirst + i).text);
        for (qint32 i = 0; i < match.editedCount; ++i)
            total += bytes(outcome.editedSentences.at(match.editedFirst + i).text);
        return total;
    }

private:
    qsizetype bytes(const QString& text)
    {
        const auto it = m_bytes.constFind(text.constData());
        if (it != m_bytes.constEnd())
            return *it;
        qsizetype total = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            total += u < 0x80 ? 1 : (u < 0x800 || c.isSurrogate()) ? 2 : 3;
        }
        m_bytes.insert(text.constData(), total);
        return total;
    }

    QHash<const QChar*, qsizetype> m_bytes;
};

// Keeps the leading entries that fit in `room` bytes and takes what they use from it;
// false when some did not fit.
template <typename List, typename SizeOf> bool keepWithin(List& list, qsizetype& room, SizeOf sizeOf)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        const qsizetype bytes = sizeOf(list.at(i));
        if (bytes > room) {
            list.resize(i);
            return false;
        }
        room -= bytes;
    }
    return true;
}

} // namespace

void CheckCommand::Search(CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer)
{
    refuseBlank(outcome.original);
    refuseBlank(outcome.edited);
    if (outcome.original.text.isEmpty() || outcome.edited.text.isEmpty())
        return;
    outcome.originalReading = TextReading(outcome.original.text, outcome.original.hidden, options);
    outcome.editedReading = TextReading(outcome.edited.text, outcome.edited.hidden, options);
    const QString& originalText = outcome.originalReading.text();
    outcome.dictionary = std::make_unique<CStemDictionary>(originalText, options, stemmer);
    outcome.truncated = !FindSimilarPhrases(outcome.matches, *outcome.dictionary, originalText,
                                            outcome.editedReading.text(), options, stemmer);
    ReportSize size;
    qsizetype room = options.MaxReportBytes;
    if (!keepWithin(outcome.matches, room, [&size](const PhraseMatch& match) { return size.of(match); }))
        outcome.truncated = outcome.truncatedBySize = true;
    SearchNear(outcome, options, stemmer);
    outcome.originalReading.IndexSentences(options);
    outcome.editedReading.IndexSentences(options);
}

void CheckCommand::SearchNear(CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer)
{
    if (!options.NearMatches) {
        // Originality alone needs only the words of the copy, not their stems.
        NearStemTable words([](const QString& word) { return word; });
        outcome.editedSentences = nearSentences(outcome.editedReading.text(), options, words);
        const QList<NearSentence>& edited = outcome.editedSentences;
        outcome.originality = CopyOriginality(edited, exactEditedIndices(outcome.matches, edited), {});
        outcome.exactShare = 1.0 - outcome.originality;
        return;
    }
    NearStemTable table([&stemmer](const QString& word) { return stemmer.GetStem(word); });
    outcome.originalSentences = nearSentences(outcome.originalReading.text(), options, table);
    outcome.editedSentences = nearSentences(outcome.editedReading.text(), options, table);
    const QList<qint32> exactEdited = exactEditedIndices(outcome.matches, outcome.editedSentences);
    outcome.relations = NearRelations(table.stems(), options.Synonyms);

    NearOptions nearOptions;
    nearOptions.relations = &outcome.relations;
    nearOptions.threshold = options.NearThreshold;
    nearOptions.minWords = options.MinWords;
    const qsizetype room = std::max<qsizetype>(options.MaxMatches - outcome.matches.size(), 0);
    // With no room left the search still runs for one match: finding one means the
    // bound cut it off.
    nearOptions.maxMatches = std::max<qsizetype>(room, 1);
    outcome.near = FindNearMatches(outcome.originalSentences, outcome.editedSentences, exactEdited, nearOptions);
    if ((room == 0 || outcome.truncatedBySize) && !outcome.near.matches.isEmpty()) {
        outcome.near.matches.clear();
        outcome.near.truncated = true;
    }
    ReportSize size;
    qsizetype bytes = options.MaxReportBytes;
    // The exact matches fit already; the near ones have what they leave.
    keepWithin(outcome.matches, bytes, [&size](const PhraseMatch& match) { return size.of(match); });
    if (!keepWithin(outcome.near.matches, bytes,
                    [&size, &outcome](const NearMatch& match) { return size.of(match, outcome); }))
        outcome.near.truncated = outcome.truncatedBySize = true;
    outcome.truncated = outcome.truncated || outcome.near.truncated;
    outcome.originality = CopyOriginality(outcome.editedSentences, exactEdited, outcome.near.matches);
    outcome.exactShare = 1.0 - CopyOriginality(outcome.editedSentences, exactEdited, {});
    outcome.nearShare = std::max(1.0 - outcome.originality - outcome.exactShare, 0.0);
}

CheckOutcome CheckCommand::CheckDocuments(const QString& originalPath, const QString& editedPath,
                                          const CheckOptions& options, Stemmer& stemmer)
{
    return CheckDocuments(DocumentFile::NativeName(originalPath), DocumentFile::NativeName(editedPath), options,
                          stemmer);
}

CheckOutcome CheckCommand::CheckDocuments(const QByteArray& originalNative, const QByteArray& editedNative,
                                          const CheckOptions& options, Stemmer& stemmer)
{
    CheckOutcome outcome;
    {
        auto extractor = std::make_shared<CDocToText>();
        outcome.original = extractor->ExtractNative(originalNative);
        outcome.edited = extractor->ExtractNative(editedNative);
    }
    Search(outcome, options, stemmer);
    return outcome;
}

CheckOutcome CheckCommand::CheckTexts(const QString& originalText, const QString& editedText,
                                      const CheckOptions& options, Stemmer& stemmer)
{
    CheckOutcome outcome;
    outcome.original = fromText(originalText);
    outcome.edited = fromText(editedText);
    Search(outcome, options, stemmer);
    return outcome;
}
