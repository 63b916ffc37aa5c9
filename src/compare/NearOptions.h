#pragma once

#include "phrases/SplitOptions.h"

#include <QtGlobal>

class NearRelations;

// What the near-match search looks for and how much of it it lists.
struct NearOptions
{
    // The lowest similarity, in percent (1..100), that makes a near match. The
    // default is chosen from the measurements in bench/near.
    static constexpr qint32 kDefaultThreshold = 53;
    static constexpr qsizetype kDefaultMaxMatches = 1000000;

    qint32 threshold = kDefaultThreshold;
    // A sentence, or a pair of adjacent sentences, takes part only with more words
    // than this: the same rule as for exact matches.
    qint32 minWords = SplitOptions::DefaultMinWords;
    // At most this many near matches are listed, the most similar ones.
    qsizetype maxMatches = kDefaultMaxMatches;

    // Synonyms and family words of the stems, or none. An edited word related to an
    // original word the edited unit lacks counts as shared at this fraction of their
    // weights (measured in bench/near).
    const NearRelations* relations = nullptr;
    static constexpr double kDefaultRelatedWeight = 0.7;
    double relatedWeight = kDefaultRelatedWeight;
    // An edited sentence of at least this many words that is not near any original
    // unit is still listed when at least half of its runs of three adjacent stems
    // occur in one original sentence: the half of a split sentence moved away.
    static constexpr qint32 kShingleMinWords = 5;
};
