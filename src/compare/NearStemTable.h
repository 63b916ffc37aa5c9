#pragma once

#include "compare/NearSentence.h"

#include <QHash>
#include <QString>
#include <functional>

class DelimiterSet;

// Prepares sentences for the near-match search: splits them into words and numbers
// the words' stems densely (0, 1, 2 ...) in order of first appearance. One table is
// used for both documents, so a stem keeps its number across them. Each distinct
// word is stemmed once; the stem function receives it lower-cased.
class NearStemTable
{
public:
    using StemFunction = std::function<QString(const QString& lowerCasedWord)>;

    explicit NearStemTable(StemFunction stem);

    // The sentence split at the word delimiters. Symbols around a token's letters and
    // digits (dashes, ellipses) are not part of its word, and a token without a letter
    // or digit is no word: punctuation never changes how similar two sentences are.
    NearSentence sentence(const QString& text, const DelimiterSet& wordDelimiters);

    // The number of a stem, given a new one when the stem is new.
    qint32 numberOf(const QString& stem);
    // How many distinct stems have numbers.
    qint32 size() const { return qint32(m_numbers.size()); }

    // Words are cached up to this many; the cache is then started afresh.
    static constexpr qsizetype kWordCacheLimit = 200000;

private:
    StemFunction m_stem;
    QHash<QString, qint32> m_numbers;
    QHash<QString, qint32> m_wordNumbers; // word as written -> stem number
};
