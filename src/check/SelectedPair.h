#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// The selected match as the window shows it: the text of each side (two sentences
// of a split or join joined by a space) and where in it lie the words both sides
// share, for highlighting.
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
    // Words one side replaced by a synonym or a word of its family, on both sides.
    QList<Span> originalRelated;
    QList<Span> editedRelated;
};
