#pragma once

#include "compare/PhraseMatch.h"

#include <limits>

class CStemDictionary;
class Stemmer;
class TextWords;
class WordForms;
struct SplitOptions;

// Appends to matches one PhraseMatch for every pair of an edited and an original
// sentence with equal fingerprints: ordered by edited sentence, then by original
// sentence, duplicates kept. Entries already in matches stay in front. Matches share
// their sentences' text (one string per sentence, however many matches it is in).
// The list never grows beyond maxMatches entries: returns false when the search
// stopped there with matches left unlisted, true when it listed them all.
bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText, const SplitOptions& options, Stemmer& stemmer,
                        qsizetype maxMatches = std::numeric_limits<qsizetype>::max());

// The same on both texts split already, their forms stemmed through forms; the matches
// note where their sentences stand.
bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, const TextWords& original,
                        const TextWords& edited, WordForms& forms, const SplitOptions& options, qsizetype maxMatches);
