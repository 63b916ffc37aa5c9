#pragma once

#include "word/WordProcessor.h"

// The word processor when none can be used: quitting does nothing, showing a phrase
// says why there is no word processor.
class NullWordProcessor : public WordProcessor
{
public:
    // The reason the real one could not be used; empty means none is installed.
    explicit NullWordProcessor(QString reason = QString()) : m_reason(std::move(reason)) {}

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    void QuitActiveWord() override {}
    void QuitOwnWordInstances() override {}

private:
    QString m_reason;
};
