#pragma once

#include <QtGlobal>

// What the near-match search looks for and how much of it it lists.
struct NearOptions
{
    // The lowest similarity, in percent (1..100), that makes a near match. The
    // default is chosen from the measurements in bench/near.
    static constexpr qint32 kDefaultThreshold = 50;
    static constexpr qsizetype kDefaultMaxMatches = 1000000;

    qint32 threshold = kDefaultThreshold;
    // A sentence, or a pair of adjacent sentences, takes part only with more words
    // than this: the same rule as for exact matches.
    qint32 minWords = 3;
    // At most this many near matches are listed, the most similar ones.
    qsizetype maxMatches = kDefaultMaxMatches;
};
