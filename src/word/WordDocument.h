#pragma once

#include "word/WordStatus.h"

#include <QString>
#include <memory>

class WordRange;

// One open document of a word-processor instance.
class WordDocument
{
public:
    virtual ~WordDocument() = default;

    // Full path of the document's file as the word processor names it (empty when unsaved).
    virtual WordStatus FullName(QString& name) = 0;
    // The range of the main text only (no headers, frames or notes); content may be left empty.
    virtual WordStatus Content(std::shared_ptr<WordRange>& content) = 0;
    // The text the user has selected in the document's window (empty: nothing selected).
    virtual WordStatus SelectedText(QString& text) = 0;
    // Whether the document holds changes not saved to its file.
    virtual WordStatus IsModified(bool& modified) = 0;
    // Saves the document to its own file, in its own format.
    virtual WordStatus Save() = 0;
};
