#pragma once

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/SelectedPair.h"
#include "compare/MatchVerdict.h"
#include "word/WordProcessor.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Stemmer;

// What the main window shows and does, without the widgets: the two documents, the
// outcome of the last Check with its dictionary, the selected match and its verdict,
// and the word processor with the instances the program started. The window reads
// the settings, hands a snapshot to each call that splits text, and shows the state.
// Sentences are held as the search found them (as read); they are shown and searched
// for in the word processor as written, without the white space around them.
class CheckSession
{
public:
    CheckSession(std::unique_ptr<WordProcessor> wordProcessor, Stemmer& stemmer);
    ~CheckSession();
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    // Choosing another document drops the results of the previous pair. The copy is
    // checked against every source at once; one original is a list of one.
    void SetOriginalPath(const QString& path);
    void SetSourcePaths(const QStringList& paths);
    void SetEditedPath(const QString& path);
    // The first source, or nothing.
    QString originalPath() const { return m_sourcePaths.value(0); }
    const QStringList& sourcePaths() const { return m_sourcePaths; }
    const QString& editedPath() const { return m_editedPath; }
    // A source and the copy are chosen.
    bool canCheck() const { return !m_sourcePaths.isEmpty() && !m_editedPath.isEmpty(); }

    // Before a Check: which of the documents the running word processor holds with
    // changes not saved yet (they would not be read), in the order sources, edited. The
    // word processor is otherwise left alone: the student may have other work open in it.
    QStringList UnsavedDocuments();
    // Saves those documents in the word processor, so that the Check reads what is on screen.
    WordProcessor::Result SaveDocuments(const QStringList& paths);
    // Both documents are read and searched. The row whose edited side was selected
    // last is selected again when it is listed, else the first row.
    const CheckOutcome& RunCheck(const CheckOptions& options);
    // Forgets the outcome, the dictionary, the selection and the place to come back to.
    void ClearResults();

    const CheckOutcome& outcome() const { return m_outcome; }
    const PhraseMatchList& matches() const { return m_outcome.matches; }
    bool hasStemDictionary() const { return m_outcome.dictionary != nullptr; }

    // One sentence of the copy on its map: how many words it has, what it is, and the
    // row that lists it (-1: none).
    struct MapCell
    {
        enum class Kind
        {
            Original,
            Exact,
            Near,
        };
        qint32 words = 0;
        Kind kind = Kind::Original;
        qsizetype row = -1;
        bool tricked = false; // the sentence as written holds a disguise the reading saw through
    };
    // The copy's sentences in text order, as its map shows them.
    QList<MapCell> CopyMap() const;
    // The same for any outcome.
    static QList<MapCell> MapOf(const CheckOutcome& outcome);
    // The edited side of every row as shown, in row order.
    QStringList EditedRows() const;
    // Exact matches, then near ones: the rows Select() takes.
    qsizetype matchCount() const { return m_outcome.matchCount(); }

    // Selects match index (exact matches first, then near ones) and works out its
    // verdict and shared words with options. False, with the selection unchanged,
    // when there is no such match.
    bool Select(qsizetype index, const CheckOptions& options);
    qsizetype selectedIndex() const { return m_selected; }
    // The selected exact match, or null.
    const PhraseMatch* selectedMatch() const;
    const MatchVerdict& selectedVerdict() const { return m_verdict; }
    // The selected near match, or null.
    const NearMatch* selectedNear() const;
    // The verdict on the selected near match; empty for an exact one.
    const QString& selectedNearVerdict() const { return m_nearVerdict; }
    // Both sides of the selected match, exact or near, as written, with their shared
    // words and the tricks seen through in them.
    const SelectedPair& selectedPair() const { return m_pair; }
    // The same for any row of an outcome (exact matches first, then near ones), worked
    // out with the options and stemmer of its Check. The row must exist.
    static SelectedPair PairOf(const CheckOutcome& outcome, qsizetype row, const CheckOptions& options,
                               Stemmer& stemmer);
    // A sentence as shown and searched for: without the white space around it, which
    // the search keeps from the text between sentences.
    static QString Shown(const QString& sentence);

    // Opens the edited copy in the word processor with the selected edited sentence
    // selected. Nothing selected: nothing happens.
    WordProcessor::Result ShowSelectedInWord();
    // The window closes: drops the dictionary and quits the program's own instances.
    void Close();

    WordProcessor& wordProcessor() { return *m_wordProcessor; }
    // The stemmer every Check of the session runs with.
    Stemmer& stemmer() const { return m_stemmer; }

private:
    // The selected row's edited side as shown, and how many rows before it show the same.
    struct Place
    {
        QString edited;
        qsizetype occurrence = 0;
    };

    void SetPath(QString& path, const QString& chosen);
    void ForgetMatches();
    // The edited side of a row as shown: the sentence, or a near match's sentences.
    QString EditedShown(qsizetype row) const;
    qsizetype IndexOf(const Place& place) const;
    void RememberPlace(qsizetype index);

    std::unique_ptr<WordProcessor> m_wordProcessor;
    Stemmer& m_stemmer;
    QStringList m_sourcePaths;
    QString m_editedPath;
    CheckOutcome m_outcome;
    qsizetype m_selected = -1;
    MatchVerdict m_verdict;
    QString m_nearVerdict;
    SelectedPair m_pair;
    std::optional<Place> m_place;
};
