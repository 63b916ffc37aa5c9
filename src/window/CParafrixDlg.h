#pragma once

#include "compare/PhraseMatch.h"
#include "phrases/CStemDictionary.h"
#include "word/WordProcessor.h"

#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <memory>

class PathLabel;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The main window: choose the original essay and its edited copy, run the Check,
// walk the matches with their verdicts, and reach the options, thank-you and about
// boxes and the word processor. Closing it (Esc, the close box or "Выход") writes
// the settings back, drops the last dictionary and quits the word-processor
// instances the program started.
class CParafrixDlg : public QDialog
{
    Q_OBJECT
public:
    // The word processor defaults to the one of this machine; tests pass a fake.
    explicit CParafrixDlg(std::unique_ptr<WordProcessor> wordProcessor = nullptr, QWidget* parent = nullptr);
    ~CParafrixDlg() override;

    // Pre-fills both documents as if they had been chosen with the browse buttons.
    void SetDocuments(const QString& originalPath, const QString& editedPath);

    QString originalPath() const { return m_originalPath; }
    QString editedPath() const { return m_editedPath; }
    const PhraseMatchList& matches() const { return m_matches; }
    bool hasStemDictionary() const { return m_stemDictionary != nullptr; }

    void OnCheck();
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
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void CreateControls();
    void InstallAboutCommand();
    void ClearResults();
    void ListMatches();
    QString ChooseDocument();
    void ChooseDocument(QString& path, PathLabel* display);
    void SetPath(QString& path, PathLabel* display, const QString& chosen);
    void UpdateCheckButton();
    void QuitOwnWordInstances();
    void ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);

    std::unique_ptr<CStemDictionary> m_stemDictionary;
    std::unique_ptr<WordProcessor> m_wordInstances;
    QPlainTextEdit* m_originalPhrase = nullptr;
    QPlainTextEdit* m_editedPhrase = nullptr;
    QLabel* m_verdict = nullptr;
    QListWidget* m_matchList = nullptr;
    QString m_originalPath;
    QString m_editedPath;
    PhraseMatchList m_matches;
    QIcon m_icon;

    // The edited phrase exactly as found; the box shows some characters (a no-break
    // space) as others, and the word processor must search for the real ones.
    QString m_shownEditedPhrase;
    PathLabel* m_originalPathLabel = nullptr;
    PathLabel* m_editedPathLabel = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_exitButton = nullptr;
};
