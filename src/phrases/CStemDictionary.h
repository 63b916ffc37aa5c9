#pragma once

#include "phrases/StringPool.h"

#include <QString>

class Stemmer;
class TextWords;
class WordForms;
struct SplitOptions;

// Numbers every distinct stem of the original document's kept sentences: 0, 1, 2 ...
// in order of first appearance. Built once from the extracted text, never changed.
class CStemDictionary
{
public:
    CStemDictionary(const QString& originalText, const SplitOptions& options, Stemmer& stemmer);
    // From the original already split, each form stemmed once through forms.
    CStemDictionary(const TextWords& original, WordForms& forms);

    // The stem's number, or -1 when the stem is not a key. Never adds a key.
    qint32 Lookup(QStringView stem) const { return m_numbers.find(stem); }
    qsizetype size() const { return m_numbers.size(); }

private:
    // A stem's number is its number in the pool: both count first appearances.
    StringPool m_numbers;
};
