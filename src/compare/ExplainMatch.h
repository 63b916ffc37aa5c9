#pragma once

#include "compare/MatchVerdict.h"

#include <QString>

class CStemDictionary;
class Stemmer;
struct CheckOptions;

// The verdict on why an edited sentence still counts as a copy of the original one:
// identical, word order changed, words added that were already there, words removed
// that are still there, or only word forms changed. Words split and stem as in the
// Check that found the match.
MatchVerdict AnalyseMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                          const CheckOptions& options, Stemmer& stemmer);

// The same verdict as the Russian text the user reads.
QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                     const CheckOptions& options, Stemmer& stemmer);
