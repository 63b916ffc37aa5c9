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
#include <functional>

namespace {

// The sentences of a split text as the near-match search sees them, in the same
// order, so that indices in both line up. Every stem gets its number in order of first
// appearance (words first, then runs of digits, sentence by sentence): stemByNumber
// receives each new stem. What a word form gives (its trimmed span and stem) is worked
// out once per distinct form, as forms repeat.
class NearSentences
{
public:
    explicit NearSentences(WordForms& forms) : m_forms(forms) {}

    // texts: by sentence, the string of it already made (for an exact match), or null.
    // wordless: by sentence, whether its words are left out (their stems numbered all the same).
    QList<NearSentence> of(const TextWords& words, const std::vector<QString>& texts,
                           const std::vector<bool>& wordless = {})
    {
        QList<NearSentence> sentences;
        sentences.reserve(words.size());
        const QString& text = words.text();
        for (qsizetype i = 0; i < words.size(); ++i) {
            NearSentence sentence;
            const TextWords::Sentence& at = words.at(i);
            // A sentence an exact match holds shares its string; any other views the split
            // text until the search is done (OwnTexts).
            if (size_t(i) < texts.size() && !texts[size_t(i)].isNull()) {
                sentence.text = texts[size_t(i)];
            } else {
                const QStringView view = words.sentenceText(i);
                sentence.text = QString::fromRawData(view.data(), view.size());
            }
            if (at.start + at.length < text.size())
                sentence.end = text.at(at.start + at.length);
            const std::span<const qint32> forms = words.forms(i);
            const std::span<const qint32> starts = words.starts(i);
            if (size_t(i) < wordless.size() && wordless[size_t(i)]) {
                for (const qint32 form : forms)
                    wordOf(form);
            } else {
                // Gathered first, so that the list is allocated once at its size.
                m_scratch.clear();
                for (size_t k = 0; k < forms.size(); ++k) {
                    const FormWord& word = wordOf(forms[k]);
                    if (word.number >= 0)
                        m_scratch.push_back({starts[k] + word.offset, word.length, word.number});
                }
                sentence.words = QList<NearSentence::Word>(m_scratch.begin(), m_scratch.end());
            }
            numberDigits(words.sentenceText(i), sentence.numbers);
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

    // Gives the sentences that view the split text strings of their own. A view copied
    // out (into a list row, say) would share no data and outlive its text; made after
    // the search, the strings add nothing to the memory its peak takes.
    static void OwnTexts(QList<NearSentence>& sentences, const TextWords& words)
    {
        const QChar* const begin = words.text().constData();
        const QChar* const end = begin + words.text().size();
        for (NearSentence& sentence : sentences) {
            const QChar* const at = sentence.text.constData();
            if (std::less_equal<>()(begin, at) && std::less<>()(at, end))
                sentence.text = QString(at, sentence.text.size());
        }
    }

private:
    struct FormWord
    {
        qint32 offset = 0; // of the trimmed form in the form
        qint32 length = 0;
        qint32 number = -2; // of its stem; -1: no letter or digit, -2: not worked out
    };

    // The form's word, its stem numbered when first met: the first word with a stem is
    // the first met of the forms with that stem.
    const FormWord& wordOf(qint32 form)
    {
        if (size_t(form) >= m_words.size())
            m_words.resize(size_t(m_forms.size()));
        FormWord& word = m_words[size_t(form)];
        if (word.number == -2) {
            const qint32 trimmed = m_forms.trimmedOf(form, word.offset);
            word.number = -1;
            if (trimmed >= 0) {
                word.length = qint32(m_forms.form(trimmed).size());
                word.number = number(m_forms.stemOf(trimmed));
            }
        }
        return word;
    }

    static bool isDigit(char16_t c)
    {
        // No digit lies between the ASCII ones and the Arabic-Indic ones (U+0660).
        return c < 0x660 ? char16_t(c - u'0') <= 9 : QChar::isDigit(c);
    }

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
    void numberDigits(QStringView text, QList<qint32>& numbers)
    {
        const char16_t* const begin = text.utf16();
        const char16_t* const end = begin + text.size();
        // Most sentences hold no digit: a pass without branches, which the compiler runs
        // several characters a step, rules them out.
        // In 16 bits, as the characters are, so that each step takes as many as it can.
        char16_t mayHoldDigit = 0;
        for (const char16_t* at = begin; at != end; ++at)
            mayHoldDigit |= char16_t(char16_t(*at - u'0') <= 9) | char16_t(*at >= 0x660);
        if (mayHoldDigit == 0)
            return;
        for (const char16_t* at = begin; at != end;) {
            if (!isDigit(*at)) {
                ++at;
                continue;
            }
            const char16_t* const start = at;
            while (at != end && isDigit(*at))
                ++at;
            numbers.append(number(m_forms.stems().intern(QStringView(start, at))));
        }
    }

    WordForms& m_forms;
    std::vector<qint32> m_numbers; // near number by stem, -1 for none yet
    std::vector<FormWord> m_words; // by form
    std::vector<NearSentence::Word> m_scratch;
};

// The words of each sentence as the near search counts them: its forms with a letter
// or digit.
std::vector<qint32> SentenceWordCounts(const TextWords& words, WordForms& forms)
{
    std::vector<qint32> counts(size_t(words.size()), 0);
    std::vector<qint8> counted(size_t(forms.size()), -1); // by form, worked out once: forms repeat
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (const qint32 form : words.forms(i)) {
            qint8& is = counted[size_t(form)];
            if (is < 0) {
                qint32 offset = 0;
                is = qint8(forms.trimmedOf(form, offset) >= 0);
            }
            counts[size_t(i)] += is;
        }
    }
    return counts;
}

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
    SearchNear(outcome, options, room);
    outcome.ListRows();
    outcome.originalReading.IndexSentences(outcome.originalWords);
    outcome.editedReading.IndexSentences(outcome.editedWords);
}

void CheckCommand::SearchNear(CheckOutcome& outcome, const CheckOptions& options, qsizetype reportRoom)
{
    outcome.editedWordCounts = SentenceWordCounts(outcome.editedWords, *outcome.forms);
    const QList<qint32> exactEdited = ExactEditedIndices(outcome.matches, outcome.editedWords);
    if (!options.NearMatches) {
        // Originality alone needs only how many words each sentence of the copy has.
        outcome.originality = CopyOriginality(outcome.editedWordCounts, exactEdited, {});
        outcome.exactShare = 1.0 - outcome.originality;
        return;
    }
    {
        // What only the listing needs is freed before the search, which needs the most memory.
        std::vector<QString> originalTexts(size_t(outcome.originalWords.size()));
        std::vector<QString> editedTexts(size_t(outcome.editedWords.size()));
        for (const PhraseMatch& match : std::as_const(outcome.matches)) {
            if (match.originalIndex >= 0 && size_t(match.originalIndex) < originalTexts.size())
                originalTexts[size_t(match.originalIndex)] = match.original;
            if (match.editedIndex >= 0 && size_t(match.editedIndex) < editedTexts.size())
                editedTexts[size_t(match.editedIndex)] = match.edited;
        }
        // No near match takes a sentence of the copy an exact match lists: its words are
        // left out, half of a copy's words when much of it is copied.
        std::vector<bool> exact(editedTexts.size(), false);
        for (const qint32 i : exactEdited)
            exact[size_t(i)] = true;
        NearSentences sentences(*outcome.forms);
        outcome.originalSentences = sentences.of(outcome.originalWords, originalTexts);
        outcome.editedSentences = sentences.of(outcome.editedWords, editedTexts, exact);
        outcome.relations = NearRelations(sentences.stems(), options.Synonyms);
    }

    NearOptions nearOptions = options.Near;
    nearOptions.relations = &outcome.relations;
    nearOptions.minWords = options.MinWords;
    const qsizetype room = std::max<qsizetype>(options.MaxMatches - outcome.matches.size(), 0);
    // With no room left the search still runs for one match: finding one means the
    // bound cut it off.
    nearOptions.maxMatches = std::max<qsizetype>(room, 1);
    outcome.near = FindNearMatches(outcome.originalSentences, outcome.editedSentences, exactEdited, nearOptions);
    NearSentences::OwnTexts(outcome.originalSentences, outcome.originalWords);
    NearSentences::OwnTexts(outcome.editedSentences, outcome.editedWords);
    if ((room == 0 || outcome.truncatedBySize) && !outcome.near.matches.isEmpty()) {
        outcome.near.matches.clear();
        outcome.near.truncated = true;
    }
    ReportSize size;
    // The exact matches fit already; the near ones have what they leave.
    if (!keepWithin(outcome.near.matches, reportRoom,
                    [&size, &outcome](const NearMatch& match) { return size.of(match, outcome); }))
        outcome.near.truncated = outcome.truncatedBySize = true;
    outcome.truncated = outcome.truncated || outcome.near.truncated;
    outcome.originality = CopyOriginality(outcome.editedWordCounts, exactEdited, outcome.near.matches);
    outcome.exactShare = 1.0 - CopyOriginality(outcome.editedWordCounts, exactEdited, {});
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

QList<qint32> CheckCommand::ExactEditedIndices(const PhraseMatchList& matches, const TextWords& edited)
{
    const qsizetype count = edited.size();
    std::vector<bool> listed(size_t(count), false);
    // Matches made from other sentence lists are known by their text alone.
    QSet<QStringView> otherTexts;
    for (const PhraseMatch& match : matches) {
        if (match.editedIndex >= 0 && match.editedIndex < count)
            listed[size_t(match.editedIndex)] = true;
        else
            otherTexts.insert(match.edited);
    }
    // A sentence with the text of a listed one has the same fingerprint, but a cut list
    // may have stopped before it. Its words are split from its text alone, so it has the
    // same forms: only sentences whose forms hash alike are compared.
    const auto keyOf = [&edited](qsizetype i) {
        quint64 h = 14695981039346656037ull ^ quint64(edited.at(i).length);
        for (const qint32 form : edited.forms(i))
            h = (h ^ quint32(form)) * 1099511628211ull;
        return h;
    };
    std::vector<std::pair<quint64, qint32>> listedKeys;
    for (qsizetype i = 0; i < count; ++i)
        if (listed[size_t(i)])
            listedKeys.push_back({keyOf(i), qint32(i)});
    std::sort(listedKeys.begin(), listedKeys.end());
    QList<qint32> indices;
    for (qsizetype i = 0; i < count; ++i) {
        bool equal = listed[size_t(i)] || (!otherTexts.isEmpty() && otherTexts.contains(edited.sentenceText(i)));
        if (!equal) {
            const quint64 key = keyOf(i);
            for (auto it = std::lower_bound(listedKeys.begin(), listedKeys.end(), std::pair<quint64, qint32>(key, -1));
                 !equal && it != listedKeys.end() && it->first == key; ++it)
                equal = edited.sentenceText(it->second) == edited.sentenceText(i);
        }
        if (equal)
            indices.append(qint32(i));
    }
    return indices;
}
