#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// A sentence as the near-match search sees it: its text, exactly as the sentence list
// holds it, and its words in text order with the numbers of their stems. The numbers
// come from one NearStemTable shared by the original and the edited copy, so equal
// numbers mean equal stems on both sides.
struct NearSentence
{
    struct Word
    {
        qint32 start = 0;  // offset of the word in the sentence text
        qint32 length = 0; // in UTF-16 code units
        qint32 stem = 0;   // number of the word's stem, 0 or more
    };

    QString text;
    QList<Word> words;
    // The numbers of the stems of its runs of digits ("70-х" holds 70), which the word
    // delimiters may drop: a number both documents hold counts towards similarity, but
    // no number counts as a word.
    QList<qint32> numbers;
};
