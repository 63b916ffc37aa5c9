#pragma once

#include "compare/PhraseMatch.h"
#include "extract/ExtractResult.h"
#include "phrases/CStemDictionary.h"

#include <memory>

// The Check without a window: from two documents (or their texts) to the stem
// dictionary of the original and the ordered match list. The window and the
// command-line check both run it, so they can never disagree.
struct CheckOutcome
{
    ExtractResult original;                      // text or reason, for the original document
    ExtractResult edited;                        // text or reason, for the edited copy
    std::unique_ptr<CStemDictionary> dictionary; // null when a text was empty
    PhraseMatchList matches;

    // True when both texts were read and the search ran.
    bool ok() const { return dictionary != nullptr; }
};

class CheckCommand
{
public:
    // Reads both documents (always both, original first) and runs the search when
    // both gave text.
    static CheckOutcome CheckDocuments(const QString& originalPath, const QString& editedPath);
    // The same for files named as the system spells them (command-line arguments).
    static CheckOutcome CheckDocuments(const QByteArray& originalNative, const QByteArray& editedNative);
    // Runs the dictionary and the search on two texts already extracted.
    static CheckOutcome CheckTexts(const QString& originalText, const QString& editedText);
};
