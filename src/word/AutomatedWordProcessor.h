#pragma once

#include "word/WordProcessor.h"

#include <QList>
#include <memory>

class WordApplication;
class WordAutomation;
class WordDocument;

// The word processor's operations written once against its object model.
// m_wordInstances lists the instances this object started itself, in order; it only
// grows, and its entries stay after their instance has ended. While a quit is waiting
// for the user's answer, nothing else is asked of the word processor: it could not
// answer before the user has.
class AutomatedWordProcessor : public WordProcessor
{
public:
    explicit AutomatedWordProcessor(std::shared_ptr<WordAutomation> automation);
    ~AutomatedWordProcessor() override;

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    QStringList UnsavedDocuments(const QStringList& paths) override;
    Result SaveDocuments(const QStringList& paths) override;
    void QuitOwnWordInstances() override;
    // How the last quit of the program's own instances stands, without waiting: Deciding
    // while one still asks the user (nothing else is asked of it meanwhile).
    QuitStatus PollQuit();

    const QList<std::shared_ptr<WordApplication>>& WordInstances() const { return m_wordInstances; }

    // Longest search text handed to the word processor.
    static constexpr qsizetype MaxFindLength = 255;
    // The phrase cut to MaxFindLength code units, never splitting a surrogate pair.
    static QString FindText(const QString& phrase);

    // What the user is told when the word processor is busy asking its own question.
    static QString WaitingForAnswerMessage();

private:
    // The instances that may hold the user's documents: the running one, then the
    // program's own that are not it. Empty while a quit still asks the user.
    QList<std::shared_ptr<WordApplication>> Reachable();
    struct OpenDocument
    {
        QString path;
        std::shared_ptr<WordDocument> document;
    };
    // Those of paths that a reachable instance holds open, in the order of paths.
    QList<OpenDocument> OpenDocuments(const QStringList& paths);

    // Declared first so that it is destroyed last, after every reference into it.
    std::shared_ptr<WordAutomation> m_automation;
    QList<std::shared_ptr<WordApplication>> m_wordInstances;
    // The instance whose quit was still Deciding when last asked; empty otherwise.
    std::shared_ptr<WordApplication> m_quitting;
    QuitStatus m_lastQuit = QuitStatus::NotRunning;
};
