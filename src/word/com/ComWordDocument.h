#pragma once

#include "ComDispatch.h"
#include "word/WordDocument.h"

// One open document, through its _Document interface.
class ComWordDocument : public WordDocument
{
public:
    explicit ComWordDocument(ComDispatch document);

    // The full name with '/' separators, as the program writes paths.
    WordStatus FullName(QString& name) override;
    WordStatus Content(std::shared_ptr<WordRange>& content) override;
    WordStatus SelectedText(QString& text) override;
    WordStatus IsModified(bool& modified) override;
    WordStatus Save() override;

private:
    ComDispatch m_document;
};
