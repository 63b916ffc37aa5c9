#pragma once

#include "check/TextReading.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The selected match as the window shows it: the text of each side as written (two
// sentences of a split or join joined by a space), where in it lie the words both
// sides share and the tricks seen through, for highlighting.
struct SelectedPair
{
    struct Span
    {
        qint32 start = 0;
        qint32 length = 0;
        bool operator==(const Span&) const = default;
    };

    QString original;
    QString edited;
    QList<Span> originalShared;
    QList<Span> editedShared;
    QList<TrickMark> originalTricks;
    QList<TrickMark> editedTricks;

    // The match holds a trick seen through, without which it might not have been found.
    bool seenThrough() const { return !originalTricks.isEmpty() || !editedTricks.isEmpty(); }
    // Words one side replaced by a synonym or a word of its family, on both sides.
    QList<Span> originalRelated;
    QList<Span> editedRelated;
};
