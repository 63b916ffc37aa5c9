#pragma once

#include "word/WordProcessor.h"

// The word processor when none can be used: there is nothing to quit, showing a phrase
// says why there is no word processor.
class NullWordProcessor : public WordProcessor
{
public:
    // The reason the real one could not be used; empty means none is installed.
    explicit NullWordProcessor(QString reason = QString()) : m_reason(std::move(reason)) {}

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    QuitStatus QuitActiveWord() override { return QuitStatus::NotRunning; }
    QuitStatus PollQuit() override { return QuitStatus::NotRunning; }
    void QuitOwnWordInstances() override {}

private:
    QString m_reason;
};
