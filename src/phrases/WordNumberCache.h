#pragma once

#include <QHash>
#include <QStringView>

class CStemDictionary;

// Remembers, for one operation over texts that outlive it, the dictionary number of
// every word form met, so each distinct form is lower-cased and stemmed only once.
// The answers are exactly those of CStemDictionary::Lookup(NormalizeWord(word)).
class WordNumberCache
{
public:
    explicit WordNumberCache(const CStemDictionary& dictionary) : m_dictionary(dictionary) {}

    // The number of the word's stem, or -1 when the dictionary lacks it. The word's
    // characters must stay alive and unchanged while the cache is used.
    qint32 number(QStringView word);

private:
    const CStemDictionary& m_dictionary;
    QHash<QStringView, qint32> m_numbers;
};
