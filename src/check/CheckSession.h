#pragma once

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "compare/MatchVerdict.h"
#include "word/WordProcessor.h"

#include <QString>
#include <memory>

class Stemmer;

// What the main window shows and does, without the widgets: the two documents, the
// outcome of the last Check with its dictionary, the selected match and its verdict,
// and the word processor with the instances the program started. The window reads
// the settings, hands a snapshot to each call that splits text, and shows the state.
class CheckSession
{
public:
    CheckSession(std::unique_ptr<WordProcessor> wordProcessor, Stemmer& stemmer);
    ~CheckSession();
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    // Choosing another document drops the results of the previous pair.
    void SetOriginalPath(const QString& path);
    void SetEditedPath(const QString& path);
    const QString& originalPath() const { return m_originalPath; }
    const QString& editedPath() const { return m_editedPath; }
    // Both documents are chosen.
    bool canCheck() const { return !m_originalPath.isEmpty() && !m_editedPath.isEmpty(); }

    // The whole Check: asks the running word processor to quit, so that what the user
    // saved is what is read, then reads both documents and searches.
    const CheckOutcome& Check(const CheckOptions& options);
    // The two steps of Check, for a front end that waits between them.
    void QuitActiveWord();
    const CheckOutcome& RunCheck(const CheckOptions& options);
    // Forgets the outcome, the dictionary and the selection.
    void ClearResults();

    const CheckOutcome& outcome() const { return m_outcome; }
    const PhraseMatchList& matches() const { return m_outcome.matches; }
    bool hasStemDictionary() const { return m_outcome.dictionary != nullptr; }

    // Selects match index and works out its verdict with options. False, with the
    // selection unchanged, when there is no such match.
    bool Select(qsizetype index, const CheckOptions& options);
    qsizetype selectedIndex() const { return m_selected; }
    // The selected match, or null.
    const PhraseMatch* selectedMatch() const;
    const MatchVerdict& selectedVerdict() const { return m_verdict; }

    // Opens the edited copy in the word processor with the selected edited sentence
    // selected. Nothing selected: nothing happens.
    WordProcessor::Result ShowSelectedInWord();
    // Asks the instances the program started to quit (after choosing a document).
    void QuitOwnWordInstances();
    // The window closes: drops the dictionary and quits the program's own instances.
    void Close();

    WordProcessor& wordProcessor() { return *m_wordProcessor; }

private:
    void SetPath(QString& path, const QString& chosen);

    std::unique_ptr<WordProcessor> m_wordProcessor;
    Stemmer& m_stemmer;
    QString m_originalPath;
    QString m_editedPath;
    CheckOutcome m_outcome;
    qsizetype m_selected = -1;
    MatchVerdict m_verdict;
};
