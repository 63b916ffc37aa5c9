#pragma once

#include <QString>

class CStemDictionary;

// The verdict in Russian on why an edited sentence still counts as a copy of the
// original one: identical, word order changed, words added that were already there,
// words removed that are still there, or only word forms changed.
QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary);

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
