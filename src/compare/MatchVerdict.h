#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Why an edited sentence still counts as a copy of the original one. A verdict has
// one or more kinds; identical and forms stand alone, the other three combine in the
// order listed.
enum class VerdictKind
{
    Identical,       // the sentences are the same text
    Order,           // the words stand in another order
    AddedRepeated,   // added words whose stems the sentence already had
    RemovedRepeated, // removed words whose stems the sentence still has
    Forms,           // nothing but word forms changed
};

// The kind's name in reports ("identical", "order", "added_repeated", "removed_repeated", "forms").
QString VerdictKindName(VerdictKind kind);

// One verdict as data: its kinds and the stems they name. text() is what the user reads.
struct MatchVerdict
{
    QList<VerdictKind> kinds;
    QStringList added;   // stems added, in code-unit order (with AddedRepeated)
    QStringList removed; // stems removed, in code-unit order (with RemovedRepeated)

    // The Russian verdict: the kinds' texts joined, each multi-line part ending with a line feed.
    QString text() const;
};

// The verdict texts, as the user sees them.
namespace Verdict {
QString identical();
QString order();
QString addedHead();
QString addedTail();
QString removedHead();
QString removedTail();
QString nothingFound();
} // namespace Verdict
