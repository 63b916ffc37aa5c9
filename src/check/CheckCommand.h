#pragma once

#include "compare/PhraseMatch.h"
#include "extract/ExtractResult.h"
#include "phrases/CStemDictionary.h"

#include <memory>

class Stemmer;
struct CheckOptions;

// The outcome of one Check: what each document gave, the stem dictionary of the
// original and the ordered match list.
struct CheckOutcome
{
    ExtractResult original;                      // text or reason, for the original document
    ExtractResult edited;                        // text or reason, for the edited copy
    std::unique_ptr<CStemDictionary> dictionary; // null when a text was empty
    PhraseMatchList matches;
    bool truncated = false; // the list stopped at CheckOptions::MaxMatches

    // True when both texts were read and the search ran.
    bool ok() const { return dictionary != nullptr; }
};

// The Check without a window: from two documents (or their texts) to the stem
// dictionary of the original and the ordered match list. The window and the
// command-line check both run it, so they can never disagree.
class CheckCommand
{
public:
    // Reads both documents (always both, original first) and runs the search when
    // both gave text. A text without a single letter or digit counts as no text.
    static CheckOutcome CheckDocuments(const QString& originalPath, const QString& editedPath,
                                       const CheckOptions& options, Stemmer& stemmer);
    // Runs the dictionary and the search on two texts already extracted.
    static CheckOutcome CheckTexts(const QString& originalText, const QString& editedText, const CheckOptions& options,
                                   Stemmer& stemmer);
    // Runs the dictionary and the search on an outcome whose texts are filled in.
    static void Search(CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer);
};
