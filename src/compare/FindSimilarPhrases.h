#pragma once

#include "compare/PhraseMatch.h"

class CStemDictionary;

// Appends to matches one PhraseMatch for every pair of an edited and an original
// sentence with equal fingerprints: ordered by edited sentence, then by original
// sentence, duplicates kept. Entries already in matches stay in front.
void FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText);
