#pragma once

#include "extract/ExtractResult.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>

class Stemmer;
struct CheckOptions;
struct CheckOutcome;

// Which original each match of a Check against several originals (sources) came from,
// and how much of the copy each explains. Empty after a Check with one original.
struct SourceAttribution
{
    // Per source, in the order given: the share of the copy's words in its exact or
    // near matches, 0..1. A copy sentence found in two sources counts for both.
    QList<double> shares;
    QList<qint32> exact;     // the source of each exact match (CheckOutcome::matches)
    QList<qint32> near;      // the source of each near match (CheckOutcome::near.matches)
    QList<qint32> sentences; // the source of each original sentence the near search holds
    QStringList paths;       // how the front end names each source, for the reports
    // The originals that gave no text, each with its reason: the Check did not run.
    struct Unread
    {
        qint32 source = 0;
        ExtractResult result;
    };
    QList<Unread> unread;

    bool several() const { return shares.size() > 1; }
};

// The Check of one edited copy against one or more originals. With one original it is
// the two-document Check itself. With several, the originals are joined in their order
// into one original, each ending in a break no sentence or word crosses, so one stem
// dictionary numbers the stems of all of them and the near search weighs words over
// all of them; each sentence is then traced back to its source by where it stands.
// A fingerprint depends only on the set of the sentence's stems (numbers joined with a
// separator), so the exact matches of each source are exactly those a Check against
// that source alone finds: same sets there, same sets here.
class SourceCheck
{
public:
    static constexpr qsizetype MaxSources = 1000;
    // The originals together, in UTF-16 code units: four documents at their own bound.
    // Beyond it the Check does not run and outcome.original says the text is too large.
    static constexpr qsizetype MaxJoinedUnits = qsizetype(128) * 1024 * 1024;

    // Reads every original, then the copy (all of them, so that each unreadable one can
    // be named), and runs the Check when all gave text. An original without text stops
    // the Check: outcome.original then holds the first such one's reason and
    // outcome.sources.unread lists them all.
    static CheckOutcome CheckDocuments(const QByteArrayList& originalNatives, const QByteArray& editedNative,
                                       const CheckOptions& options, Stemmer& stemmer);
    static CheckOutcome CheckDocuments(const QStringList& originalPaths, const QString& editedPath,
                                       const CheckOptions& options, Stemmer& stemmer);
    // The same on texts already extracted.
    static CheckOutcome CheckTexts(const QStringList& originalTexts, const QString& editedText,
                                   const CheckOptions& options, Stemmer& stemmer);
    static CheckOutcome CheckResults(QList<ExtractResult> originals, ExtractResult edited, const CheckOptions& options,
                                     Stemmer& stemmer);
};
