#pragma once

#include "word/WordProcessor.h"

// The word processor when none is installed: quitting does nothing, showing a
// phrase says that no word processor was found.
class NullWordProcessor : public WordProcessor
{
public:
    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override;
    void QuitActiveWord() override {}
    void QuitOwnWordInstances() override {}
};
