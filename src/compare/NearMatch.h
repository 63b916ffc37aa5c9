#pragma once

#include <QtGlobal>

// One near match: one or two adjacent original sentences and one or two adjacent
// edited sentences (never two on both sides), by their indices in the sentence lists
// the search was given, and their similarity from 0 to 1.
struct NearMatch
{
    qint32 originalFirst = 0;
    qint32 originalCount = 1;
    qint32 editedFirst = 0;
    qint32 editedCount = 1;
    double similarity = 0;

    qint32 percent() const;

    bool operator==(const NearMatch&) const = default;
};

// A similarity as the user sees it: whole percent, rounded down, so that a match shown
// at N% always reaches a threshold of N%. The allowance keeps 0.29 at 29.
inline qint32 NearPercent(double similarity)
{
    return qint32(similarity * 100 + 1e-9);
}

inline qint32 NearMatch::percent() const
{
    return NearPercent(similarity);
}
