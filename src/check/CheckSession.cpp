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

const CheckOutcome& CheckSession::Check(const CheckOptions& options)
{
    QuitActiveWord();
    return RunCheck(options);
}

void CheckSession::QuitActiveWord()
{
    m_wordProcessor->QuitActiveWord();
}

const CheckOutcome& CheckSession::RunCheck(const CheckOptions& options)
{
    ClearResults();
    m_outcome = CheckCommand::CheckDocuments(m_originalPath, m_editedPath, options, m_stemmer);
    return m_outcome;
}

void CheckSession::ClearResults()
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
    m_verdict = AnalyseMatch(match.original, match.edited, *m_outcome.dictionary, options, m_stemmer);
    return true;
}

const PhraseMatch* CheckSession::selectedMatch() const
{
    if (m_selected < 0 || m_selected >= m_outcome.matches.size())
        return nullptr;
    return &m_outcome.matches.at(m_selected);
}

WordProcessor::Result CheckSession::ShowSelectedInWord()
{
    const PhraseMatch* match = selectedMatch();
    return m_wordProcessor->ShowPhraseInWord(match ? match->edited : QString(), m_editedPath);
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
