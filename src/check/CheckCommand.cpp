#include "check/CheckCommand.h"

#include "check/CheckOptions.h"
#include "compare/ExplainMatch.h"
#include "compare/FindSimilarPhrases.h"
#include "compare/NearOriginality.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"
#include "morph/Stemmer.h"
#include "phrases/TextWords.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// The sentences of a split text as the near-match search sees them, in the same
// order, so that indices in both line up. With stems, every stem gets its number in
// order of first appearance (words first, then runs of digits, sentence by sentence):
// stemByNumber receives each new stem. Without, a word stands for itself.
class NearSentences
{
public:
    explicit NearSentences(WordForms& forms) : m_forms(forms) {}

    // texts: by sentence, the string of it already made (for an exact match), or null.
    QList<NearSentence> of(const TextWords& words, bool stems, const std::vector<QString>& texts)
    {
        QList<NearSentence> sentences;
        sentences.reserve(words.size());
        const QString& text = words.text();
        for (qsizetype i = 0; i < words.size(); ++i) {
            NearSentence sentence;
            const TextWords::Sentence& at = words.at(i);
            // A sentence an exact match holds shares its string.
            sentence.text = size_t(i) < texts.size() && !texts[size_t(i)].isNull() ? texts[size_t(i)]
                                                                                   : words.sentenceText(i).toString();
            if (at.start + at.length < text.size())
                sentence.end = text.at(at.start + at.length);
            const std::span<const qint32> forms = words.forms(i);
            const std::span<const qint32> starts = words.starts(i);
            sentence.words.reserve(qsizetype(forms.size()));
            for (size_t k = 0; k < forms.size(); ++k) {
                qint32 offset = 0;
                const qint32 trimmed = m_forms.trimmedOf(forms[k], offset);
                if (trimmed < 0)
                    continue;
                const qint32 length = qint32(m_forms.form(trimmed).size());
                sentence.words.append({starts[k] + offset, length, stems ? number(m_forms.stemOf(trimmed)) : trimmed});
            }
            if (stems)
                numberDigits(sentence);
            sentences.append(std::move(sentence));
        }
        return sentences;
    }

    // The stems by number, viewed in the forms' stems.
    std::vector<QStringView> stems() const
    {
        std::vector<QStringView> views;
        views.reserve(stemByNumber.size());
        for (const qint32 stem : stemByNumber)
            views.push_back(m_forms.stems().at(stem));
        return views;
    }

    std::vector<qint32> stemByNumber; // the stem (of the forms) of each number

private:
    qint32 number(qint32 stem)
    {
        if (size_t(stem) >= m_numbers.size())
            m_numbers.resize(size_t(stem) + 1 + m_numbers.size() / 2, -1);
        qint32& number = m_numbers[size_t(stem)];
        if (number < 0) {
            number = qint32(stemByNumber.size());
            stemByNumber.push_back(stem);
        }
        return number;
    }

    // Each run of digits is a stem of its own, whatever the delimiters ("70-х" holds 70).
    void numberDigits(NearSentence& sentence)
    {
        const QString& text = sentence.text;
        const auto isDigit = [](QChar c) {
            // No digit lies between the ASCII ones and the Arabic-Indic ones (U+0660).
            return c.unicode() < 0x660 ? (c.unicode() >= u'0' && c.unicode() <= u'9') : c.isDigit();
        };
        for (qsizetype i = 0; i < text.size();) {
            if (!isDigit(text.at(i))) {
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < text.size() && isDigit(text.at(i)))
                ++i;
            sentence.numbers.append(number(m_forms.stems().intern(QStringView(text).sliced(start, i - start))));
        }
    }

    WordForms& m_forms;
    std::vector<qint32> m_numbers; // near number by stem, -1 for none yet
};

// The bytes a match takes in a report: its sentences in UTF-8 and an allowance for the
// rest of its entry. Measuring is linear in what it admits, as the lists stop once the
// room is used up.
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
    // One byte per code unit, one more from U+0080 and one more again from U+0800 except
    // for surrogates (two each). Without branches and summed in 32 bits block by block,
    // so that the loop is vectorised.
    static qsizetype bytes(const QString& text)
    {
        constexpr qsizetype kBlock = 1 << 20;
        const char16_t* const units = QStringView(text).utf16();
        qsizetype total = text.size();
        for (qsizetype start = 0; start < text.size(); start += kBlock) {
            const qsizetype end = std::min(text.size(), start + kBlock);
            quint32 extra = 0;
            for (qsizetype i = start; i < end; ++i) {
                const char16_t u = units[i];
                extra += quint32(u >= 0x80) + quint32(u >= 0x800 && (u < 0xD800 || u > 0xDFFF));
            }
            total += extra;
        }
        return total;
    }
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
    RefuseBlank(outcome.original);
    RefuseBlank(outcome.edited);
    if (outcome.original.text.isEmpty() || outcome.edited.text.isEmpty())
        return;
    outcome.originalReading = TextReading(outcome.original.text, outcome.original.hidden, options);
    outcome.editedReading = TextReading(outcome.edited.text, outcome.edited.hidden, options);
    // Each text is split once; every step below reads these.
    outcome.forms = std::make_shared<WordForms>(stemmer);
    outcome.originalWords = TextWords(outcome.originalReading.text(), options, *outcome.forms);
    outcome.editedWords = TextWords(outcome.editedReading.text(), options, *outcome.forms);
    outcome.dictionary = std::make_unique<CStemDictionary>(outcome.originalWords, outcome.forms);
    outcome.truncated = !FindSimilarPhrases(outcome.matches, *outcome.dictionary, outcome.originalWords,
                                            outcome.editedWords, *outcome.forms, options, options.MaxMatches);
    ReportSize size;
    qsizetype room = options.MaxReportBytes;
    if (!keepWithin(outcome.matches, room, [&size](const PhraseMatch& match) { return size.of(match); }))
        outcome.truncated = outcome.truncatedBySize = true;
    SearchNear(outcome, options, stemmer);
    outcome.ListRows();
    outcome.originalReading.IndexSentences(outcome.originalWords);
    outcome.editedReading.IndexSentences(outcome.editedWords);
}

void CheckCommand::SearchNear(CheckOutcome& outcome, const CheckOptions& options, Stemmer&)
{
    std::vector<QString> originalTexts(size_t(outcome.originalWords.size()));
    std::vector<QString> editedTexts(size_t(outcome.editedWords.size()));
    for (const PhraseMatch& match : std::as_const(outcome.matches)) {
        if (match.originalIndex >= 0 && size_t(match.originalIndex) < originalTexts.size())
            originalTexts[size_t(match.originalIndex)] = match.original;
        if (match.editedIndex >= 0 && size_t(match.editedIndex) < editedTexts.size())
            editedTexts[size_t(match.editedIndex)] = match.edited;
    }
    NearSentences sentences(*outcome.forms);
    if (!options.NearMatches) {
        // Originality alone needs only the words of the copy, not their stems.
        outcome.editedSentences = sentences.of(outcome.editedWords, false, editedTexts);
        const QList<NearSentence>& edited = outcome.editedSentences;
        outcome.originality = CopyOriginality(edited, ExactEditedIndices(outcome.matches, edited), {});
        outcome.exactShare = 1.0 - outcome.originality;
        return;
    }
    outcome.originalSentences = sentences.of(outcome.originalWords, true, originalTexts);
    outcome.editedSentences = sentences.of(outcome.editedWords, true, editedTexts);
    const QList<qint32> exactEdited = ExactEditedIndices(outcome.matches, outcome.editedSentences);
    outcome.relations = NearRelations(sentences.stems(), options.Synonyms);

    NearOptions nearOptions = options.Near;
    nearOptions.relations = &outcome.relations;
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

void CheckOutcome::ListRows()
{
    rows.clear();
    rows.reserve(matches.size() + near.matches.size());
    for (qsizetype i = 0; i < matches.size(); ++i)
        rows.append({MatchRow::Kind::Exact, qint32(i)});
    for (qsizetype i = 0; i < near.matches.size(); ++i)
        rows.append({MatchRow::Kind::Near, qint32(i)});
}

MatchVerdict CheckOutcome::Verdict(qsizetype index, const SplitOptions& options, Stemmer& stemmer) const
{
    const PhraseMatch& match = matches.at(index);
    if (!forms || match.originalIndex < 0 || match.editedIndex < 0)
        return AnalyseMatch(match.original, match.edited, *dictionary, options, stemmer);
    return AnalyseMatch(originalWords.forms(match.originalIndex), editedWords.forms(match.editedIndex),
                        match.original == match.edited, *dictionary, *forms);
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
    outcome.original = FromText(originalText);
    outcome.edited = FromText(editedText);
    Search(outcome, options, stemmer);
    return outcome;
}

void CheckCommand::RefuseBlank(ExtractResult& result)
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

ExtractResult CheckCommand::FromText(const QString& text)
{
    ExtractResult result;
    result.text = text;
    if (text.isEmpty())
        result.error = ExtractError::NoText;
    return result;
}

QList<qint32> CheckCommand::ExactEditedIndices(const PhraseMatchList& matches, const QList<NearSentence>& edited)
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
