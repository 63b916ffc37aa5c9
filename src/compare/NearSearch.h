#pragma once

#include "compare/NearMatch.h"
#include "compare/NearOptions.h"
#include "compare/NearSentence.h"

#include <QList>
#include <span>

// The near matches, most similar first, and whether the bound cut the list short.
struct NearMatchList
{
    QList<NearMatch> matches;
    bool truncated = false;
};

// Finds the edited sentences that are still recognisably made from original ones.
// Compares each edited sentence, and each pair of adjacent edited sentences, with the
// original sentences and adjacent pairs that share its rarer stems, so that splitting
// a sentence or joining two is caught too. Lists at most one match per edited sentence:
// the most similar unit, reached greedily from the most similar pair down. Edited
// sentences in exactEdited (indices the exact matches already list) take no part.
// Ties keep document order: edited sentence first, then original sentence.
NearMatchList FindNearMatches(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                              std::span<const qint32> exactEdited, const NearOptions& options);
