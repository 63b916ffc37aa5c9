#pragma once

#include "compare/NearMatch.h"
#include "compare/NearSentence.h"

#include <span>
#include <vector>

// The originality of the edited copy, from 0 to 1: the share of the words of its
// sentences (wordCounts: the words of each sentence the search was given) that lie in
// no sentence of an exact match (exactEdited: edited sentence indices) or of a near
// match. A sentence that is part of a match counts whole, added words included. A copy
// without words is wholly original (1).
double CopyOriginality(std::span<const qint32> wordCounts, std::span<const qint32> exactEdited,
                       std::span<const NearMatch> nearMatches);

// The number of words of each sentence.
std::vector<qint32> WordCounts(std::span<const NearSentence> sentences);
