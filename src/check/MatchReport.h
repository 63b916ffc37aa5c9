#pragma once

#include "compare/NearExplanation.h"
#include "compare/NearMatch.h"
#include "compare/NearSentence.h"

#include <QByteArray>
#include <QString>
#include <span>

class QIODevice;
class Stemmer;
class TextReading;
struct CheckOptions;
struct CheckOutcome;

// Writes the outcome of a successful Check for scripts (JSON) or people (text),
// match by match as it goes, so a long list never has to fit in memory twice.
// Verdicts are worked out with the options and stemmer the Check ran with.
class MatchReport
{
public:
    MatchReport(const CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer)
        : m_outcome(outcome), m_options(options), m_stemmer(stemmer)
    {
    }

    // One JSON object in UTF-8 and a line feed:
    // {"matches": [{"edited", "kinds", "original", "verdict"}...],
    //  "near_matches": [{"added", "edited", "original", "removed", "similarity", "verdict"}...]
    //  (only when the options asked for near matches), "originality": 0..1,
    //  "suspicious": [{"count", "document", "kind", "samples"}...], "truncated": bool}.
    // After a Check against several originals, every match also has "source" (an index)
    // and the object "sources": [{"matched_words", "path"}...].
    // Sentences are given as written, verdicts as read.
    // False as soon as a write fails.
    bool WriteJson(QIODevice& out) const;
    // The warnings about tricks seen through, the matches as numbered Russian
    // paragraphs (each naming its source when there are several), then the closing
    // lines with the share of each source.
    bool WriteText(QIODevice& out) const;

    // The JSON report in memory, for tests and small outcomes.
    QByteArray ToJson() const;

    // The text of a unit of one or two sentences as written: each trimmed, joined by a space.
    static QString UnitText(std::span<const NearSentence> sentences, const TextReading& reading);
    // What a near match of the outcome kept and changed.
    static NearExplanation Explain(const CheckOutcome& outcome, const NearMatch& match);
    // "Оригинальность копии: 63%", whole percent rounded down.
    static QString OriginalityText(double originality);

private:
    const CheckOutcome& m_outcome;
    const CheckOptions& m_options;
    Stemmer& m_stemmer;
};
