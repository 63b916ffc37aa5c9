#pragma once

#include "check/SelectedPair.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QIODevice;
class Stemmer;
struct CheckOptions;
struct CheckOutcome;

// The outcome of a successful Check as one page to keep or hand in: a self-contained
// HTML file in UTF-8 (styles inline, no scripts, nothing fetched) with the documents,
// the originality and its breakdown, a map of the copy, every match with both sides
// marked as the window marks them and its verdict, and the tricks seen through. The
// markup is also well-formed XML. Written match by match, like the other reports; the
// rows stop, with a note, once they would pass the reports' byte bound.
class HtmlReport
{
public:
    struct Documents
    {
        QString original; // paths as shown to the user
        QString edited;
        QDateTime checked; // when the Check ran
    };

    HtmlReport(const CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer, Documents documents)
        : m_outcome(outcome), m_options(options), m_stemmer(stemmer), m_documents(std::move(documents))
    {
    }

    // False as soon as a write fails.
    bool Write(QIODevice& out) const;
    // Writes the report to path whole or not at all; on failure, error says why.
    bool Save(const QString& path, QString& error) const;

    // Text for element content and attribute values: &<>" escaped, vertical tab and
    // form feed as line feeds, other characters XML cannot carry replaced by U+FFFD.
    static QString Escape(const QString& text);
    // One side of a match as markup: shared words, words replaced by a synonym or a
    // word of the family, and tricks each in its own span, invisible characters shown as "¦".
    static QString Marked(const QString& text, const QList<SelectedPair::Span>& shared,
                          const QList<SelectedPair::Span>& related, const QList<TrickMark>& tricks);

private:
    bool WriteHead(QIODevice& out) const;
    bool WriteMap(QIODevice& out) const;
    bool WriteMatches(QIODevice& out) const;

    const CheckOutcome& m_outcome;
    const CheckOptions& m_options;
    Stemmer& m_stemmer;
    Documents m_documents;
};
