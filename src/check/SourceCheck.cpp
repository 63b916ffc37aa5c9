#include "check/SourceCheck.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "compare/NearOriginality.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QHash>
#include <QSet>
#include <array>
#include <memory>

namespace {

bool hasLetterOrDigit(const QString& text)
{
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            return true;
    }
    return false;
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

// The source of each sentence the sentence list keeps of the joined text: the number
// of breaks before it.
QList<qint32> sentenceSources(const QString& readText, QChar separator, const CheckOptions& options)
{
    const QString normalized = NormalizeLineBreaks(readText);
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    QList<qint32> sources;
    Tokenizer tokens(normalized, sentenceDelimiters);
    QStringView sentence;
    qsizetype position = 0;
    qint32 source = 0;
    while (tokens.next(sentence)) {
        const qsizetype start = tokens.tokenStart();
        for (; position < start; ++position) {
            if (normalized.at(position) == separator)
                ++source;
        }
        if (sentence != u" " && CountWords(sentence, wordDelimiters) >= options.MinWords)
            sources.append(source);
    }
    return sources;
}

// The source of each exact match. The search lists, for each copy sentence, every
// original sentence with its fingerprint in sentence order, so the k-th match of a
// pair of texts is the (k mod n)-th of the n original sentences with that text.
QList<qint32> exactSources(const PhraseMatchList& matches, const QStringList& sentences,
                           const QList<qint32>& sentenceSource)
{
    QHash<QString, QList<qint32>> occurrences;
    for (qsizetype i = 0; i < sentences.size(); ++i)
        occurrences[sentences.at(i)].append(sentenceSource.at(i));
    QHash<std::pair<QString, QString>, qsizetype> seen;
    QList<qint32> sources;
    sources.reserve(matches.size());
    for (const PhraseMatch& match : matches) {
        const QList<qint32> where = occurrences.value(match.original);
        qsizetype& count = seen[{match.edited, match.original}];
        sources.append(where.isEmpty() ? 0 : where.at(count % where.size()));
        ++count;
    }
    return sources;
}

// The sentences of the joined text as the sentence list keeps them.
QStringList keptSentences(const QString& readText, const CheckOptions& options)
{
    const QString normalized = NormalizeLineBreaks(readText);
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    QStringList sentences;
    Tokenizer tokens(normalized, sentenceDelimiters);
    QStringView sentence;
    while (tokens.next(sentence)) {
        if (sentence != u" " && CountWords(sentence, wordDelimiters) >= options.MinWords)
            sentences.append(sentence.toString());
    }
    return sentences;
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
    const QString& text = outcome.originalReading.text();
    sources.sentences = sentenceSources(text, separator, joinedOptions);
    sources.exact = exactSources(outcome.matches, keptSentences(text, joinedOptions), sources.sentences);
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

    QList<QSet<QString>> exactTexts(sourceCount);
    for (qsizetype i = 0; i < outcome.matches.size(); ++i)
        exactTexts[sources.exact.at(i)].insert(outcome.matches.at(i).edited);
    QList<QList<NearMatch>> nearOf(sourceCount);
    for (qsizetype i = 0; i < outcome.near.matches.size(); ++i)
        nearOf[sources.near.at(i)].append(outcome.near.matches.at(i));
    sources.shares.reserve(sourceCount);
    for (qsizetype s = 0; s < sourceCount; ++s) {
        QList<qint32> exactEdited;
        if (!exactTexts.at(s).isEmpty()) {
            for (qsizetype i = 0; i < outcome.editedSentences.size(); ++i) {
                if (exactTexts.at(s).contains(outcome.editedSentences.at(i).text))
                    exactEdited.append(qint32(i));
            }
        }
        sources.shares.append(1.0 - CopyOriginality(outcome.editedSentences, exactEdited, nearOf.at(s)));
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
        if (original.ok() && !hasLetterOrDigit(original.text)) {
            original.text.clear();
            original.error = ExtractError::NoText;
        }
        if (!original.ok() || original.text.isEmpty())
            outcome.sources.unread.append({qint32(i), original});
    }
    if (originals.isEmpty() || !outcome.sources.unread.isEmpty()) {
        if (!outcome.sources.unread.isEmpty())
            outcome.original = outcome.sources.unread.first().result;
        else
            outcome.original.error = ExtractError::NoText;
        if (!hasLetterOrDigit(outcome.edited.text)) {
            outcome.edited.text.clear();
            if (outcome.edited.ok())
                outcome.edited.error = ExtractError::NoText;
        }
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
    const auto fromText = [](const QString& text) {
        ExtractResult result;
        result.text = text;
        if (text.isEmpty())
            result.error = ExtractError::NoText;
        return result;
    };
    QList<ExtractResult> originals;
    for (const QString& text : originalTexts)
        originals.append(fromText(text));
    return CheckResults(std::move(originals), fromText(editedText), options, stemmer);
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
