#pragma once

#include "word/WordProcessor.h"

#include <QList>
#include <memory>

class WordApplication;
class WordAutomation;

// The three operations written once against a word processor's object model.
// m_wordInstances lists the instances this object started itself, in order; it only
// grows, and its entries stay after their instance has ended.
class AutomatedWordProcessor : public WordProcessor
{
public:
    explicit AutomatedWordProcessor(std::shared_ptr<WordAutomation> automation);
    ~AutomatedWordProcessor() override;

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    void QuitActiveWord() override;
    void QuitOwnWordInstances() override;

    const QList<std::shared_ptr<WordApplication>>& WordInstances() const { return m_wordInstances; }

    // Longest search text handed to the word processor.
    static constexpr qsizetype MaxFindLength = 255;
    // The phrase cut to MaxFindLength code units, never splitting a surrogate pair.
    static QString FindText(const QString& phrase);

private:
    // Declared first so that it is destroyed last, after every reference into it.
    std::shared_ptr<WordAutomation> m_automation;
    QList<std::shared_ptr<WordApplication>> m_wordInstances;
};
