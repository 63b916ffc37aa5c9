#pragma once

#include "check/CheckSession.h"

#include <QDateTime>
#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <memory>

class CopyMap;
class PathLabel;
class QFileSystemWatcher;
class QLabel;
class QTimer;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class Stemmer;

// The main window: choose the original essay and its edited copy, run the Check,
// walk the matches with their verdicts, and reach the options, thank-you and about
// boxes and the word processor. The Check's state and steps live in a CheckSession;
// the window reads the settings for each step and shows the session's state. When the
// word processor holds either document with unsaved changes, the Check asks whether to
// save them there first; the student's other work in it is never touched.
// Closing it (Esc, the close box or "Выход") writes the settings back, drops the
// last dictionary and quits the word-processor instances the program started.
class CParafrixDlg : public QDialog
{
    Q_OBJECT
public:
    // The word processor defaults to the one of this machine and the stemmer to the
    // morphology library; tests pass fakes.
    explicit CParafrixDlg(std::unique_ptr<WordProcessor> wordProcessor = nullptr, Stemmer* stemmer = nullptr,
                          QWidget* parent = nullptr);
    ~CParafrixDlg() override;

    // Pre-fills the documents as if they had been chosen with the browse buttons; an
    // empty path leaves that document to be chosen.
    void SetDocuments(const QString& originalPath, const QString& editedPath);
    // Chooses the documents the window last closed with, as stored; those no longer there are
    // left out and named in a notice.
    void RestoreDocuments();
    // Tells the user something once, as soon as the window is up (e.g. why words
    // will be compared less well than they should).
    void ShowNoticeOnStart(const QString& text);

    QString originalPath() const { return m_session.originalPath(); }
    // Every original the copy is checked against, in the order of the source list.
    QStringList sourcePaths() const { return m_session.sourcePaths(); }
    // Adds documents (a folder: the documents in it) to the sources, as dropping them
    // on the window does. A file already there or the copy itself is refused with a word.
    void AddSources(const QStringList& paths);
    QString editedPath() const { return m_session.editedPath(); }
    const PhraseMatchList& matches() const { return m_session.matches(); }
    bool hasStemDictionary() const { return m_session.hasStemDictionary(); }
    const CheckSession& session() const { return m_session; }

    void OnCheck();
    void OnSelchangeMatchList();
    void OnBrowseOriginal();
    void OnBrowseEdited();
    void OnAddSourceFiles();
    void OnAddSourceFolder();
    void OnRemoveSource();
    void OnOptions();
    void OnThanks();
    void OnAbout();
    void OnShowPhraseInWord();
    void OnSaveReport();
    void OnExit();

    // Every way of closing (Esc, the close box, "Выход") ends here.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void CreateControls();
    void InstallAboutCommand();
    // Asks what to do with unsaved changes the word processor holds in unsaved; false
    // when the Check is not to run. savedOnly tells that unsaved changes stay unread.
    bool SettleUnsaved(const QStringList& unsaved, bool& savedOnly);
    // Reads and searches both documents. Quiet: no box (the re-check after saving); false
    // when a document could not be read.
    bool RunCheck(bool quiet = false);
    // The documents of the last Check are watched for saving, while the setting says so.
    void WatchDocuments();
    void OnDocumentChanged(const QString& path);
    // The re-check after saving, once nothing else is under way.
    void RecheckWhenIdle();
    void ClearResultWidgets();
    void ListMatches();
    void ShowSelectedMatch();
    void ShowOriginality();
    void ShowSuspicious();
    // Shows text in the reminder's place; empty brings the reminder back.
    void SetCheckNote(const QString& text);
    QString StartFolder(bool original) const;
    QString AskForDocument(bool original);
    void ChooseDocument(bool original);
    void SetPath(bool original, const QString& chosen);
    // Makes paths the sources: the session, the path label and the source list follow.
    void SetSources(const QStringList& paths);
    // Why the sources and the copy cannot be checked together (a file twice, the copy
    // among the sources); empty when they can.
    QString SourcesProblem(const QStringList& sources, const QString& edited) const;
    void ShowSameFileMessage();
    void UpdateCheckButton();
    void ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);

    CheckSession m_session;
    QPlainTextEdit* m_originalPhrase = nullptr;
    QPlainTextEdit* m_editedPhrase = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_originality = nullptr;
    QScrollArea* m_verdictArea = nullptr;
    QLabel* m_reminder = nullptr;
    QLabel* m_checkNote = nullptr;
    QLabel* m_suspicious = nullptr;
    QListWidget* m_matchList = nullptr;
    CopyMap* m_copyMap = nullptr;
    QIcon m_icon;
    PathLabel* m_originalPathLabel = nullptr;
    QListWidget* m_sourceList = nullptr; // shown once there is more than one source
    QPushButton* m_addSourceFiles = nullptr;
    QPushButton* m_addSourceFolder = nullptr;
    QPushButton* m_removeSource = nullptr;
    PathLabel* m_editedPathLabel = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_browseOriginal = nullptr;
    QPushButton* m_browseEdited = nullptr;
    QPushButton* m_openInWord = nullptr;
    QPushButton* m_saveReport = nullptr;
    QDateTime m_checkedAt; // when the shown outcome was checked, for the report
    QFileSystemWatcher* m_watcher = nullptr;
    // Saving writes a file in several steps: the re-check waits for them to settle.
    QTimer* m_recheckTimer = nullptr;
};
