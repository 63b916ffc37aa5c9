#pragma once

#include "compare/NearOptions.h"
#include "phrases/SplitOptions.h"

#include <QtGlobal>

class Thesaurus;

// Everything a Check depends on besides the two texts and the stemmer: how texts
// split into sentences and words (SplitOptions), and what is looked for. The front
// ends fill it from the stored settings at every Check; the engine never reads
// settings itself.
struct CheckOptions : SplitOptions
{
    // Near matches: sentences light edits only disguise. Near holds what they look
    // for (threshold, related weight); the Check fills in the rest per search.
    bool NearMatches = false;
    NearOptions Near;
    // Synonyms near matches recognise, loaded by the front end; none when null.
    const Thesaurus* Synonyms = nullptr;

    // Matches kept by one Check, exact and near together; the rest are counted as cut off.
    qsizetype MaxMatches = NearOptions::kDefaultMaxMatches;
    // The same in bytes of report: the matches kept, exact first, are those whose
    // sentences (in UTF-8) and a kReportEntryBytes allowance each fit in this many.
    qsizetype MaxReportBytes = DefaultMaxReportBytes;

    static constexpr qint32 DefaultNearThreshold = NearOptions::kDefaultThreshold;
    static constexpr qsizetype DefaultMaxMatches = NearOptions::kDefaultMaxMatches;
    static constexpr qsizetype DefaultMaxReportBytes = qsizetype(256) * 1024 * 1024;
    static constexpr qsizetype kReportEntryBytes = 256;
};
