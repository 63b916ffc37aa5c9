#include "check/SourceCheck.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "compare/NearOriginality.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"

#include <QSet>
#include <array>
#include <memory>

namespace {

// Each document on its own must have text, as the only one must: an empty one as much
// as one of blanks alone.
void refuseBlank(ExtractResult& result)
{
    CheckCommand::RefuseBlank(result);
    if (result.ok() && result.text.isEmpty())
        result.error = ExtractError::NoText;
}

// A code unit none of the texts and neither delimiter set holds, to mark where one
// original ends: noncharacters first, then the private use area, then any other.
// Null only when the texts hold every code unit there is.
QChar unusedCodeUnit(const QList<ExtractResult>& originals, const QString& edited, const CheckOptions& options)
{
    auto used = std::make_unique<std::array<bool, 0x10000>>();
    const auto mark = [&used](const QString& text) {
        for (const QChar c : text)
            (*used)[c.unicode()] = true;
    };
    for (const ExtractResult& original : originals)
        mark(original.text);
    mark(edited);
    mark(options.Delimiters1);
    mark(options.Delimiters2);
    for (char16_t c = 0xFDD0; c <= 0xFDEF; ++c) {
        if (!(*used)[c])
            return QChar(c);
    }
    for (char16_t c = 0xE000; c <= 0xF8FF; ++c) {
        if (!(*used)[c])
            return QChar(c);
    }
    // Anything but a line break, which the sentence list rewrites, or a surrogate.
    for (char32_t c = 0x21; c < 0x10000; ++c) {
        if (!(*used)[c] && !QChar::isSurrogate(c) && c != u'\n' && c != u'\r')
            return QChar(char16_t(c));
    }
    return {};
}

// The source of each sentence of the joined text, as the Check split it: the number of
// breaks before it.
QList<qint32> sentenceSources(const TextWords& words, QChar separator)
{
    const QString& text = words.text();
    QList<qint32> sources;
    sources.reserve(words.size());
    qsizetype position = 0;
    qint32 source = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (const qsizetype start = words.at(i).start; position < start; ++position) {
            if (text.at(position) == separator)
                ++source;
        }
        sources.append(source);
    }
    return sources;
}

// The stems of a sentence.
QSet<qint32> stemsOf(const NearSentence& sentence)
{
    QSet<qint32> stems;
    for (const NearSentence::Word& word : sentence.words)
        stems.insert(word.stem);
    return stems;
}

// The source of a near match: its original sentence's. A pair of original sentences
// from two sources (the last of one and the first of the next, joined in the copy)
// goes to the one that shares more stems with the copy, the first on a tie.
qint32 nearSource(const CheckOutcome& outcome, const QList<qint32>& sentenceSource, const NearMatch& match)
{
    const qint32 first = sentenceSource.value(match.originalFirst);
    if (match.originalCount < 2)
        return first;
    const qint32 second = sentenceSource.value(match.originalFirst + 1);
    if (second == first)
        return first;
    QSet<qint32> edited;
    for (qint32 i = match.editedFirst; i < match.editedFirst + match.editedCount; ++i)
        edited.unite(stemsOf(outcome.editedSentences.at(i)));
    const auto shared = [&](qint32 index) {
        return stemsOf(outcome.originalSentences.at(index)).intersect(edited).size();
    };
    return shared(match.originalFirst + 1) > shared(match.originalFirst) ? second : first;
}

void attribute(CheckOutcome& outcome, qsizetype sourceCount, QChar separator, const CheckOptions& joinedOptions)
{
    SourceAttribution& sources = outcome.sources;
    sources.sentences = sentenceSources(outcome.originalWords, separator);
    // An exact match names the original sentence it was made from.
    sources.exact.reserve(outcome.matches.size());
    for (const PhraseMatch& match : std::as_const(outcome.matches))
        sources.exact.append(sources.sentences.value(match.originalIndex));
    sources.near.reserve(outcome.near.matches.size());
    for (const NearMatch& match : outcome.near.matches)
        sources.near.append(nearSource(outcome, sources.sentences, match));
    if (!joinedOptions.NearMatches)
        sources.sentences.clear();
    // A break is where its original's text ended: no sentence of the document ends there.
    for (NearSentence& sentence : outcome.originalSentences) {
        if (sentence.end == separator)
            sentence.end = QChar();
    }

    QList<PhraseMatchList> exactOf(sourceCount);
    for (qsizetype i = 0; i < outcome.matches.size(); ++i)
        exactOf[sources.exact.at(i)].append(outcome.matches.at(i));
    QList<QList<NearMatch>> nearOf(sourceCount);
    for (qsizetype i = 0; i < outcome.near.matches.size(); ++i)
        nearOf[sources.near.at(i)].append(outcome.near.matches.at(i));
    sources.shares.reserve(sourceCount);
    for (qsizetype s = 0; s < sourceCount; ++s) {
        const QList<qint32> exactEdited = CheckCommand::ExactEditedIndices(exactOf.at(s), outcome.editedWords);
        sources.shares.append(1.0 - CopyOriginality(outcome.editedWordCounts, exactEdited, nearOf.at(s)));
    }
}

} // namespace

CheckOutcome SourceCheck::CheckResults(QList<ExtractResult> originals, ExtractResult edited,
                                       const CheckOptions& options, Stemmer& stemmer)
{
    CheckOutcome outcome;
    outcome.edited = std::move(edited);
    if (originals.size() == 1) {
        outcome.original = std::move(originals.first());
        CheckCommand::Search(outcome, options, stemmer);
        return outcome;
    }
    // Each original on its own must have text, as the only one must.
    for (qsizetype i = 0; i < originals.size(); ++i) {
        ExtractResult& original = originals[i];
        refuseBlank(original);
        if (!original.ok() || original.text.isEmpty())
            outcome.sources.unread.append({qint32(i), original});
    }
    if (originals.isEmpty() || !outcome.sources.unread.isEmpty()) {
        if (!outcome.sources.unread.isEmpty())
            outcome.original = outcome.sources.unread.first().result;
        else
            outcome.original.error = ExtractError::NoText;
        refuseBlank(outcome.edited);
        return outcome;
    }

    qsizetype total = 0;
    for (const ExtractResult& original : std::as_const(originals))
        total += original.text.size() + 1;
    const QChar separator = total > MaxJoinedUnits ? QChar() : unusedCodeUnit(originals, outcome.edited.text, options);
    if (separator.isNull()) {
        outcome.original.error = ExtractError::TooLarge;
        return outcome;
    }
    CheckOptions joinedOptions = options;
    joinedOptions.Delimiters1 += separator;
    joinedOptions.Delimiters2 += separator;
    ExtractResult& joined = outcome.original;
    joined.text.reserve(total);
    for (qsizetype i = 0; i < originals.size(); ++i) {
        if (i > 0)
            joined.text += separator;
        for (HiddenSpan span : std::as_const(originals.at(i).hidden)) {
            span.start += joined.text.size();
            joined.hidden.append(span);
        }
        joined.text += originals.at(i).text;
        originals[i] = ExtractResult();
    }
    CheckCommand::Search(outcome, joinedOptions, stemmer);
    if (outcome.ok())
        attribute(outcome, originals.size(), separator, joinedOptions);
    return outcome;
}

CheckOutcome SourceCheck::CheckTexts(const QStringList& originalTexts, const QString& editedText,
                                     const CheckOptions& options, Stemmer& stemmer)
{
    QList<ExtractResult> originals;
    for (const QString& text : originalTexts)
        originals.append(CheckCommand::FromText(text));
    return CheckResults(std::move(originals), CheckCommand::FromText(editedText), options, stemmer);
}

CheckOutcome SourceCheck::CheckDocuments(const QByteArrayList& originalNatives, const QByteArray& editedNative,
                                         const CheckOptions& options, Stemmer& stemmer)
{
    QList<ExtractResult> originals;
    ExtractResult edited;
    {
        auto extractor = std::make_shared<CDocToText>();
        for (const QByteArray& native : originalNatives)
            originals.append(extractor->ExtractNative(native));
        edited = extractor->ExtractNative(editedNative);
    }
    return CheckResults(std::move(originals), std::move(edited), options, stemmer);
}

CheckOutcome SourceCheck::CheckDocuments(const QStringList& originalPaths, const QString& editedPath,
                                         const CheckOptions& options, Stemmer& stemmer)
{
    QByteArrayList natives;
    for (const QString& path : originalPaths)
        natives.append(DocumentFile::NativeName(path));
    return CheckDocuments(natives, DocumentFile::NativeName(editedPath), options, stemmer);
}
