#pragma once

#include "check/CheckSession.h"

#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <memory>

class PathLabel;
class QuitWaitPanel;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class Stemmer;

// The main window: choose the original essay and its edited copy, run the Check,
// walk the matches with their verdicts, and reach the options, thank-you and about
// boxes and the word processor. The Check's state and steps live in a CheckSession;
// the window reads the settings for each step and shows the session's state. While the
// word processor asked to quit still asks the user about unsaved documents, the Check
// waits for the answer without freezing the window, and can be told not to wait.
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

    // Pre-fills both documents as if they had been chosen with the browse buttons.
    void SetDocuments(const QString& originalPath, const QString& editedPath);
    // Tells the user something once, as soon as the window is up (e.g. why words
    // will be compared less well than they should).
    void ShowNoticeOnStart(const QString& text);

    QString originalPath() const { return m_session.originalPath(); }
    QString editedPath() const { return m_session.editedPath(); }
    const PhraseMatchList& matches() const { return m_session.matches(); }
    bool hasStemDictionary() const { return m_session.hasStemDictionary(); }
    const CheckSession& session() const { return m_session; }

    void OnCheck();
    // Whether a Check waits for the word processor to quit.
    bool isWaitingForWord() const;
    void OnSelchangeMatchList();
    void OnBrowseOriginal();
    void OnBrowseEdited();
    void OnOptions();
    void OnThanks();
    void OnAbout();
    void OnShowPhraseInWord();
    void OnExit();

    // Every way of closing (Esc, the close box, "Выход") ends here.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void CreateControls();
    void InstallAboutCommand();
    void StartWaiting();
    void OnQuitDecided(QuitStatus status, bool stoppedWaiting);
    void RunCheck();
    void ClearResultWidgets();
    void ListMatches();
    void ListNearMatches();
    void ShowSelectedMatch();
    void ShowOriginality();
    void ShowSuspicious();
    void SetCheckNote(bool show);
    QString StartFolder(bool original) const;
    QString AskForDocument(bool original);
    void ChooseDocument(bool original);
    void SetPath(bool original, const QString& chosen);
    void UpdateCheckButton();
    void QuitOwnWordInstances();
    void ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);

    CheckSession m_session;
    QPlainTextEdit* m_originalPhrase = nullptr;
    QPlainTextEdit* m_editedPhrase = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_originality = nullptr;
    QStackedWidget* m_verdictArea = nullptr;
    QuitWaitPanel* m_waitPanel = nullptr;
    QLabel* m_reminder = nullptr;
    QLabel* m_checkNote = nullptr;
    QLabel* m_suspicious = nullptr;
    QListWidget* m_matchList = nullptr;
    QIcon m_icon;
    PathLabel* m_originalPathLabel = nullptr;
    PathLabel* m_editedPathLabel = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_browseOriginal = nullptr;
    QPushButton* m_browseEdited = nullptr;
    QPushButton* m_openInWord = nullptr;
};
