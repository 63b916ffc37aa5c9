#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The written pairs of bench/near/data: original units (one or two sentences) and the
// rows that edit them, each with its kind. File format, UTF-8, one item a line:
//   # comment                      (and blank lines) ignored
//   O: <original text>             starts an original unit
//   <kind>: <edited text>          a row editing the last original unit
// Kinds: the light edits deleted, added, forms-replaced, order-replaced, punctuation,
// split, joined, quotes-numbers, synonyms (one or two words replaced by synonyms),
// family (one or two words replaced by others of their family: развитие → развиваться),
// or two of them joined by "+"; the negatives unrelated
// (same topic, not made from any original) and rewrite (an earnest rewrite of the unit).
struct NearDataRow
{
    QString kind;
    qint32 unit = 0; // index into NearDataSet::units
    QString edited;
    QString where; // file:line, for messages
};

struct NearDataSet
{
    QStringList units;
    QList<NearDataRow> rows;

    // Reads every *.txt file of a folder in name order; false with a message on a bad line.
    bool load(const QString& folder, QString& error);

    static bool isNegative(const QString& kind);
    static bool isKnownKind(const QString& kind);
    // The light kinds, in the order they are reported.
    static QStringList lightKinds();
};
