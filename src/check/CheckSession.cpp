#include "check/CheckSession.h"

#include "compare/ExplainMatch.h"

CheckSession::CheckSession(std::unique_ptr<WordProcessor> wordProcessor, Stemmer& stemmer)
    : m_wordProcessor(std::move(wordProcessor)), m_stemmer(stemmer)
{
}

CheckSession::~CheckSession() = default;

void CheckSession::SetOriginalPath(const QString& path)
{
    SetPath(m_originalPath, path);
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

QuitStatus CheckSession::QuitActiveWord()
{
    return m_wordProcessor->QuitActiveWord();
}

QuitStatus CheckSession::PollQuit()
{
    return m_wordProcessor->PollQuit();
}

const CheckOutcome& CheckSession::RunCheck(const CheckOptions& options)
{
    // The student's place survives the Checks of the same pair, failed ones too.
    ForgetMatches();
    m_outcome = CheckCommand::CheckDocuments(m_originalPath, m_editedPath, options, m_stemmer);
    const qsizetype index = m_place ? IndexOf(*m_place) : -1;
    Select(index >= 0 ? index : 0, options);
    return m_outcome;
}

qsizetype CheckSession::IndexOf(const Place& place) const
{
    qsizetype seen = 0;
    qsizetype last = -1;
    for (qsizetype i = 0; i < m_outcome.matches.size(); ++i) {
        if (m_outcome.matches.at(i).edited != place.edited)
            continue;
        if (seen++ == place.occurrence)
            return i;
        last = i;
    }
    // Fewer repeats of the sentence than before: the last one left.
    return last;
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
}

bool CheckSession::Select(qsizetype index, const CheckOptions& options)
{
    if (index < 0 || index >= m_outcome.matches.size() || !m_outcome.dictionary)
        return false;
    m_selected = index;
    const PhraseMatch& match = m_outcome.matches.at(index);
    qsizetype occurrence = 0;
    for (qsizetype i = 0; i < index; ++i)
        occurrence += m_outcome.matches.at(i).edited == match.edited ? 1 : 0;
    m_place = Place{match.edited, occurrence};
    m_verdict = AnalyseMatch(match.original, match.edited, *m_outcome.dictionary, options, m_stemmer);
    return true;
}

const PhraseMatch* CheckSession::selectedMatch() const
{
    if (m_selected < 0 || m_selected >= m_outcome.matches.size())
        return nullptr;
    return &m_outcome.matches.at(m_selected);
}

QString CheckSession::Shown(const QString& sentence)
{
    return sentence.trimmed();
}

QString CheckSession::shownOriginal() const
{
    const PhraseMatch* match = selectedMatch();
    return match ? Shown(match->original) : QString();
}

QString CheckSession::shownEdited() const
{
    const PhraseMatch* match = selectedMatch();
    return match ? Shown(match->edited) : QString();
}

WordProcessor::Result CheckSession::ShowSelectedInWord()
{
    // Selected with the space before it, typing over the selection would glue the new
    // text to the sentence before.
    return m_wordProcessor->ShowPhraseInWord(shownEdited(), m_editedPath);
}

void CheckSession::QuitOwnWordInstances()
{
    m_wordProcessor->QuitOwnWordInstances();
}

void CheckSession::Close()
{
    ClearResults();
    QuitOwnWordInstances();
}
