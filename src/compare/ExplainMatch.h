#pragma once

#include "compare/MatchVerdict.h"

#include <QString>
#include <span>

class CStemDictionary;
class Stemmer;
class WordForms;
struct SplitOptions;

// The verdict on why an edited sentence still counts as a copy of the original one:
// identical, word order changed, words added that were already there, words removed
// that are still there, or only word forms changed. Words split and stem as in the
// Check that found the match.
MatchVerdict AnalyseMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                          const SplitOptions& options, Stemmer& stemmer);

// The same verdict as the Russian text the user reads.
QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                     const SplitOptions& options, Stemmer& stemmer);

// The same verdict on two sentences of split texts, from their words' forms (each
// form stemmed once through forms); identical tells whether their texts are equal.
MatchVerdict AnalyseMatch(std::span<const qint32> originalForms, std::span<const qint32> editedForms, bool identical,
                          const CStemDictionary& dictionary, WordForms& forms);
