#pragma once

#include "extract/ExtractResult.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TextWords;
struct CheckOptions;

// A way of disguising a copy that the reading saw through.
enum class TrickKind
{
    MixedLetters, // Latin or Greek look-alikes among Cyrillic letters
    Invisible,    // characters that print as nothing, inside words
    OddSpaces,    // blanks that are no plain space between words
    HiddenText,   // runs the printed page does not show
};

// The kind's name in reports ("mixed_letters", "invisible", "odd_spaces", "hidden_text").
QString TrickKindName(TrickKind kind);

// What one document holds of one kind: how many words it touched and a few of them
// as written.
struct TrickFinding
{
    TrickKind kind = TrickKind::MixedLetters;
    qsizetype count = 0;
    QStringList samples; // at most TextReading::MaxSamples, distinct, as written
};

// Where a trick sits in a text, for marking it.
struct TrickMark
{
    qsizetype start = 0;
    qsizetype length = 0;
    TrickKind kind = TrickKind::MixedLetters;
};

// A sentence of the read text as the document has it, with the tricks in it marked.
struct WrittenSentence
{
    QString text;           // as written (line breaks treated as the sentence list treats them)
    QList<TrickMark> marks; // offsets into text
    // The offset in text of each offset (0..length) of the read sentence; empty when
    // the two are the same.
    QList<qint32> fromRead;

    qsizetype WrittenOffset(qsizetype readOffset) const
    {
        return fromRead.isEmpty() ? readOffset : fromRead.at(readOffset);
    }
};

// How a document is read before it is compared: as a reader of the printed page sees
// it. Look-alike Latin and Greek letters in Cyrillic words read as the Cyrillic letters
// they imitate, invisible characters and stress marks are dropped, blanks that are no
// plain space read as one, and hidden runs are left out; what was disguised is counted.
// Characters of either delimiter set are never changed, so the settings keep their
// meaning. Text with nothing to see through is not copied: text() is the text itself.
// Otherwise text() has its line breaks normalised as NormalizeLineBreaks does, and every
// offset of it maps back to the text as written. Linear in the text's length.
class TextReading
{
public:
    static constexpr qsizetype MaxSamples = 5;

    TextReading() = default;
    TextReading(const QString& written, const QList<HiddenSpan>& hidden, const CheckOptions& options);

    // Nothing was read differently.
    bool untouched() const { return m_toWritten.isEmpty(); }
    // The text to compare.
    const QString& text() const { return untouched() ? m_written : m_read; }
    const QString& written() const { return m_written; }
    // The tricks found, in the order of TrickKind; kinds not found are left out.
    const QList<TrickFinding>& findings() const { return m_findings; }

    // The offset in written() of an offset of text() (0..text().size()).
    qsizetype WrittenOffset(qsizetype readOffset) const
    {
        return untouched() ? readOffset : m_toWritten.at(readOffset);
    }
    // The read text from start for length, as written.
    WrittenSentence Written(qsizetype start, qsizetype length) const;
    // A sentence of the read text (as the sentence list holds it) as written: where it
    // first stands, once IndexSentences has run. Unknown sentences come back unchanged.
    WrittenSentence Written(const QString& sentence) const;
    // Notes where each sentence of the read text first stands: sentences is text()
    // split into its sentence list.
    void IndexSentences(const TextWords& sentences);

private:
    QString m_written;
    QString m_read;
    QList<qint32> m_toWritten; // size m_read.size() + 1 when read differently
    QList<TrickMark> m_marks;  // in written(), sorted
    QList<TrickFinding> m_findings;
    QHash<QString, qsizetype> m_sentenceStarts;

    friend class TextReader;
};
