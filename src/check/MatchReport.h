#pragma once

#include <QByteArray>

class QIODevice;
class Stemmer;
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
    // {"matches": [{"edited", "kinds", "original", "verdict"}...], "truncated": bool}.
    // False as soon as a write fails.
    bool WriteJson(QIODevice& out) const;
    // The matches as numbered Russian paragraphs, then a closing line.
    bool WriteText(QIODevice& out) const;

    // The JSON report in memory, for tests and small outcomes.
    QByteArray ToJson() const;

private:
    const CheckOutcome& m_outcome;
    const CheckOptions& m_options;
    Stemmer& m_stemmer;
};
