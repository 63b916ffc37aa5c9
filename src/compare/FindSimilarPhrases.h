#pragma once

#include "compare/PhraseMatch.h"

class CStemDictionary;
class Stemmer;
struct CheckOptions;

// Appends to matches one PhraseMatch for every pair of an edited and an original
// sentence with equal fingerprints: ordered by edited sentence, then by original
// sentence, duplicates kept. Entries already in matches stay in front. Matches share
// their sentences' text (one string per sentence, however many matches it is in).
// The list never grows beyond options.MaxMatches entries: returns false when the
// search stopped there with matches left unlisted, true when it listed them all.
bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText, const CheckOptions& options, Stemmer& stemmer);
