#include "check/CheckSession.h"

#include "compare/ExplainMatch.h"
#include "compare/NearExplanation.h"
#include "compare/NearStemTable.h"
#include "compare/NearVerdict.h"
#include "morph/Stemmer.h"
#include "phrases/Tokenizer.h"

#include <QHash>

#include <algorithm>

namespace {

// The sentences of one side as written: each trimmed, with the full stop that ended it
// before the next one and a space between; the places of the given words (found in the
// read sentences) and of the tricks in that text.
void joinUnit(std::span<const NearSentence> sentences, const TextReading& reading,
              const QList<NearExplanation::Range>& ranges, QString& text, QList<SelectedPair::Span>& spans,
              QList<TrickMark>& tricks)
{
    text.clear();
    spans.clear();
    tricks.clear();
    QList<WrittenSentence> written;
    QList<qint32> shift; // added to a written sentence's offsets to place them in text
    for (size_t i = 0; i < sentences.size(); ++i) {
        written.append(reading.Written(sentences[i].text));
        const QString& shown = written.last().text;
        if (i > 0) {
            const QChar end = sentences[i - 1].end;
            if (!end.isNull() && !end.isSpace())
                text += end;
            text += QChar(u' ');
        }
        qint32 leading = 0;
        while (leading < shown.size() && shown.at(leading).isSpace())
            ++leading;
        const qsizetype trimmedLength = shown.trimmed().size();
        shift.append(qint32(text.size()) - leading);
        text += shown.trimmed();
        for (const TrickMark& mark : std::as_const(written.last().marks)) {
            const qsizetype start = std::max<qsizetype>(mark.start, leading);
            const qsizetype end = std::min<qsizetype>(mark.start + mark.length, leading + trimmedLength);
            if (end > start)
                tricks.append({start + shift.last(), end - start, mark.kind});
        }
    }
    for (const NearExplanation::Range& range : ranges) {
        if (range.sentence < 0 || range.sentence >= shift.size())
            continue;
        const WrittenSentence& sentence = written.at(range.sentence);
        const qsizetype readLength = sentences[size_t(range.sentence)].text.size();
        const qsizetype readStart = std::clamp<qsizetype>(range.start, 0, readLength);
        const qsizetype readEnd = std::clamp<qsizetype>(range.start + range.length, readStart, readLength);
        const qint32 start = std::max<qint32>(qint32(sentence.WrittenOffset(readStart)) + shift.at(range.sentence), 0);
        const qint32 end =
            std::min<qint32>(qint32(sentence.WrittenOffset(readEnd)) + shift.at(range.sentence), qint32(text.size()));
        if (end > start)
            spans.append({start, end - start});
    }
}

void fillPair(std::span<const NearSentence> original, std::span<const NearSentence> edited,
              const NearExplanation& explanation, const CheckOutcome& outcome, SelectedPair& pair)
{
    joinUnit(original, outcome.originalReading, explanation.originalShared, pair.original, pair.originalShared,
             pair.originalTricks);
    joinUnit(edited, outcome.editedReading, explanation.editedShared, pair.edited, pair.editedShared,
             pair.editedTricks);
    // The related words' spans; the text and tricks are those just made.
    QString text;
    QList<TrickMark> tricks;
    joinUnit(original, outcome.originalReading, explanation.originalRelated, text, pair.originalRelated, tricks);
    joinUnit(edited, outcome.editedReading, explanation.editedRelated, text, pair.editedRelated, tricks);
}

// Both sides of row (exact matches first, then near ones) as written, with their shared
// words; explanation gets what the match kept and changed. Row must exist.
SelectedPair pairOf(const CheckOutcome& outcome, qsizetype row, const CheckOptions& options, Stemmer& stemmer,
                    NearExplanation& explanation)
{
    SelectedPair pair;
    if (const PhraseMatch* exact = outcome.exactAt(row)) {
        const PhraseMatch& match = *exact;
        // The shared words of an exact match are all its words; the same explanation
        // as for near matches finds them, so both highlight alike.
        NearStemTable table([&stemmer](const QString& word) { return stemmer.GetStem(word); });
        const DelimiterSet wordDelimiters(options.Delimiters2);
        const NearSentence original = table.sentence(match.original, wordDelimiters);
        const NearSentence edited = table.sentence(match.edited, wordDelimiters);
        explanation = ExplainNear({&original, 1}, {&edited, 1}, 1.0);
        fillPair({&original, 1}, {&edited, 1}, explanation, outcome, pair);
        return pair;
    }
    const NearMatch& match = *outcome.nearAt(row);
    const std::span<const NearSentence> original =
        std::span<const NearSentence>(outcome.originalSentences)
            .subspan(size_t(match.originalFirst), size_t(match.originalCount));
    const std::span<const NearSentence> edited = std::span<const NearSentence>(outcome.editedSentences)
                                                     .subspan(size_t(match.editedFirst), size_t(match.editedCount));
    explanation = ExplainNear(original, edited, match.similarity, &outcome.relations);
    fillPair(original, edited, explanation, outcome, pair);
    return pair;
}

} // namespace

CheckSession::CheckSession(std::unique_ptr<WordProcessor> wordProcessor, Stemmer& stemmer)
    : m_wordProcessor(std::move(wordProcessor)), m_stemmer(stemmer)
{
}

CheckSession::~CheckSession() = default;

void CheckSession::SetOriginalPath(const QString& path)
{
    SetSourcePaths(path.isEmpty() ? QStringList() : QStringList{path});
}

void CheckSession::SetSourcePaths(const QStringList& paths)
{
    if (m_sourcePaths == paths)
        return;
    m_sourcePaths = paths;
    ClearResults();
}

void CheckSession::SetEditedPath(const QString& path)
{
    SetPath(m_editedPath, path);
}

void CheckSession::SetPath(QString& path, const QString& chosen)
{
    if (path == chosen)
        return;
    path = chosen;
    // Results of the previous pair would be shown, and searched for in the new file.
    ClearResults();
}

QStringList CheckSession::UnsavedDocuments()
{
    QStringList paths;
    for (const QString& path : m_sourcePaths + QStringList{m_editedPath}) {
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    }
    return paths.isEmpty() ? QStringList() : m_wordProcessor->UnsavedDocuments(paths);
}

WordProcessor::Result CheckSession::SaveDocuments(const QStringList& paths)
{
    return m_wordProcessor->SaveDocuments(paths);
}

const CheckOutcome& CheckSession::RunCheck(const CheckOptions& options)
{
    // The student's place survives the Checks of the same pair, failed ones too.
    ForgetMatches();
    m_outcome = SourceCheck::CheckDocuments(m_sourcePaths, m_editedPath, options, m_stemmer);
    if (m_outcome.sources.several())
        m_outcome.sources.paths = m_sourcePaths;
    const qsizetype index = m_place ? IndexOf(*m_place) : -1;
    Select(index >= 0 ? index : 0, options);
    return m_outcome;
}

QString CheckSession::EditedShown(qsizetype row) const
{
    if (const PhraseMatch* exact = m_outcome.exactAt(row))
        return Shown(exact->edited);
    const NearMatch& match = *m_outcome.nearAt(row);
    QString text;
    QList<SelectedPair::Span> spans;
    QList<TrickMark> tricks;
    joinUnit(std::span<const NearSentence>(m_outcome.editedSentences)
                 .subspan(size_t(match.editedFirst), size_t(match.editedCount)),
             m_outcome.editedReading, {}, text, spans, tricks);
    return text;
}

QList<CheckSession::MapCell> CheckSession::CopyMap() const
{
    return MapOf(m_outcome);
}

QList<CheckSession::MapCell> CheckSession::MapOf(const CheckOutcome& outcome)
{
    QList<MapCell> cells;
    const qsizetype count = qsizetype(outcome.editedWordCounts.size());
    cells.reserve(count);
    QHash<QString, qsizetype> exactRows; // edited text -> first row listing it
    for (qsizetype row = outcome.rows.size() - 1; row >= 0; --row)
        if (const PhraseMatch* exact = outcome.exactAt(row))
            exactRows.insert(exact->edited, row);
    for (qsizetype i = 0; i < count; ++i) {
        const QString text = outcome.editedWords.sentenceText(i).toString();
        MapCell cell;
        cell.words = outcome.editedWordCounts[size_t(i)];
        cell.tricked = !outcome.editedReading.untouched() && !outcome.editedReading.Written(text).marks.isEmpty();
        if (const auto found = exactRows.constFind(text); found != exactRows.constEnd()) {
            cell.kind = MapCell::Kind::Exact;
            cell.row = found.value();
        }
        cells << cell;
    }
    for (qsizetype row = 0; row < outcome.rows.size(); ++row) {
        const NearMatch* match = outcome.nearAt(row);
        if (!match)
            continue;
        for (qint32 s = match->editedFirst; s < match->editedFirst + match->editedCount && s < cells.size(); ++s) {
            if (s >= 0 && cells.at(s).kind == MapCell::Kind::Original)
                cells[s] = {cells.at(s).words, MapCell::Kind::Near, row, cells.at(s).tricked};
        }
    }
    return cells;
}

QStringList CheckSession::EditedRows() const
{
    QStringList rows;
    for (qsizetype row = 0; row < m_outcome.matchCount(); ++row)
        rows << EditedShown(row);
    return rows;
}

qsizetype CheckSession::IndexOf(const Place& place) const
{
    qsizetype seen = 0;
    qsizetype last = -1;
    for (qsizetype row = 0; row < m_outcome.matchCount(); ++row) {
        if (EditedShown(row) != place.edited)
            continue;
        if (seen++ == place.occurrence)
            return row;
        last = row;
    }
    // Fewer repeats of the sentence than before: the last one left.
    return last;
}

void CheckSession::RememberPlace(qsizetype index)
{
    const QString shown = EditedShown(index);
    qsizetype occurrence = 0;
    for (qsizetype row = 0; row < index; ++row)
        occurrence += EditedShown(row) == shown ? 1 : 0;
    m_place = Place{shown, occurrence};
}

void CheckSession::ClearResults()
{
    ForgetMatches();
    m_place.reset();
}

void CheckSession::ForgetMatches()
{
    m_outcome = CheckOutcome();
    m_selected = -1;
    m_verdict = MatchVerdict();
    m_nearVerdict.clear();
    m_pair = SelectedPair();
}

bool CheckSession::Select(qsizetype index, const CheckOptions& options)
{
    if (index < 0 || index >= m_outcome.matchCount() || !m_outcome.dictionary)
        return false;
    m_selected = index;
    RememberPlace(index);
    NearExplanation explanation;
    m_pair = pairOf(m_outcome, index, options, m_stemmer, explanation);
    if (const PhraseMatch* match = m_outcome.exactAt(index)) {
        m_verdict = AnalyseMatch(match->original, match->edited, *m_outcome.dictionary, options, m_stemmer);
        m_nearVerdict.clear();
    } else {
        m_verdict = MatchVerdict();
        m_nearVerdict = NearVerdict(explanation);
    }
    return true;
}

SelectedPair CheckSession::PairOf(const CheckOutcome& outcome, qsizetype row, const CheckOptions& options,
                                  Stemmer& stemmer)
{
    NearExplanation explanation;
    return pairOf(outcome, row, options, stemmer, explanation);
}

const PhraseMatch* CheckSession::selectedMatch() const
{
    return m_outcome.exactAt(m_selected);
}

const NearMatch* CheckSession::selectedNear() const
{
    return m_outcome.nearAt(m_selected);
}

QString CheckSession::Shown(const QString& sentence)
{
    return sentence.trimmed();
}

WordProcessor::Result CheckSession::ShowSelectedInWord()
{
    QString phrase;
    if (const PhraseMatch* match = selectedMatch())
        // What is really there: look-alike letters and invisible characters included.
        phrase = m_outcome.editedReading.Written(match->edited).text;
    else if (selectedNear())
        // A split as written (joined so already), so that both its sentences are selected.
        phrase = m_pair.edited;
    // Selected with the space before it, typing over the selection would glue the new
    // text to the sentence before.
    return m_wordProcessor->ShowPhraseInWord(Shown(phrase), m_editedPath);
}

void CheckSession::Close()
{
    ClearResults();
    m_wordProcessor->QuitOwnWordInstances();
}
