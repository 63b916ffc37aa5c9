#pragma once

#include <QList>
#include <QString>

// One match: an original sentence and an edited sentence with equal fingerprints,
// each exactly as held by its sentence list.
struct PhraseMatch
{
    QString original;
    QString edited;

    bool operator==(const PhraseMatch&) const = default;
};

using PhraseMatchList = QList<PhraseMatch>;
