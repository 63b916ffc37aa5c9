#pragma once

#include "word/WordProcessor.h"

// The word processor when none can be used: there is nothing to save or quit, showing a phrase
// says why there is no word processor.
class NullWordProcessor : public WordProcessor
{
public:
    // The reason the real one could not be used; empty means none is installed.
    explicit NullWordProcessor(QString reason = QString()) : m_reason(std::move(reason)) {}

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    QStringList UnsavedDocuments(const QStringList&) override { return {}; }
    Result SaveDocuments(const QStringList&) override { return {}; }
    void QuitOwnWordInstances() override {}

private:
    QString m_reason;
};
