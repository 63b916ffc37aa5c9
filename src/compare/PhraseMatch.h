#pragma once

#include <QList>
#include <QString>

// One match: an original sentence and an edited sentence with equal fingerprints,
// each exactly as held by its sentence list.
struct PhraseMatch
{
    QString original;
    QString edited;
    // Where the sentences stand in the split texts the search read (TextWords); -1
    // when the match was not made by such a search.
    qint32 originalIndex = -1;
    qint32 editedIndex = -1;

    // Two matches are the same when their sentences are.
    bool operator==(const PhraseMatch& other) const { return original == other.original && edited == other.edited; }
};

using PhraseMatchList = QList<PhraseMatch>;
