#pragma once

#include "compare/NearSentence.h"

class NearRelations;

#include <QList>
#include <QString>
#include <QStringList>
#include <span>

// What an edited unit (one or two sentences) kept of and changed in an original unit,
// word by word, for the verdict and for highlighting the shared words.
struct NearExplanation
{
    // A word's place: which sentence of its unit (0 or 1), and where in that sentence.
    struct Range
    {
        qint32 sentence = 0;
        qint32 start = 0;
        qint32 length = 0;
        bool operator==(const Range&) const = default;
    };
    // One stem written in another form: the original's form and the edited one.
    struct FormChange
    {
        QString original;
        QString edited;
        bool operator==(const FormChange&) const = default;
    };

    double similarity = 0;
    qint32 originalCount = 1;
    qint32 editedCount = 1;
    QStringList removed;            // original words whose stem the edited unit lacks, as written
    QStringList added;              // edited words whose stem the original unit lacks, as written
    QList<FormChange> changedForms; // shared stems none of whose forms stayed the same
    bool reordered = false;         // the shared stems come in another order
    QList<Range> originalShared;    // every original word whose stem the edited unit has
    QList<Range> editedShared;      // every edited word whose stem the original unit has
    // Original words the edited unit lacks, each replaced by a synonym or by a word of
    // its family the original unit lacks: the original's first word, then the edited
    // one. Such words are not listed as removed or added.
    QList<FormChange> synonyms;
    QList<FormChange> family;
    QList<Range> originalRelated; // every original word of those stems
    QList<Range> editedRelated;   // every edited word of those stems
};

// Explains a match between original and edited sentences (one or two each), given
// the similarity the search found. Each removed or added stem is listed once, by its
// first word; letter case and ё/е alone are no change of form. Works for exact matches
// too, whose ranges highlight the same way. With relations, each added word is paired with
// at most one removed word it is related to (a synonym first), as the search pairs them.
NearExplanation ExplainNear(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                            double similarity, const NearRelations* relations = nullptr);
