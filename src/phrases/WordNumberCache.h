#pragma once

#include <QHash>
#include <QStringView>
#include <algorithm>
#include <cstdint>

class CStemDictionary;
class Stemmer;

// Remembers, for one operation over texts that outlive it, the dictionary number of
// every word form met, so each distinct form is lower-cased and stemmed only once.
// The answers are exactly those of CStemDictionary::Lookup(NormalizeWord(word)).
class WordNumberCache
{
public:
    WordNumberCache(const CStemDictionary& dictionary, Stemmer& stemmer) : m_dictionary(dictionary), m_stemmer(stemmer)
    {
    }

    // The number of the word's stem, or -1 when the dictionary lacks it. The word's
    // characters must stay alive and unchanged while the cache is used.
    qint32 number(QStringView word);

private:
    // Word forms are short: a plain FNV-1a over the code units hashes them faster
    // than the general string hash.
    struct Form
    {
        QStringView text;
        bool operator==(const Form& other) const noexcept
        {
            return text.size() == other.text.size() &&
                   std::equal(text.utf16(), text.utf16() + text.size(), other.text.utf16());
        }
        friend size_t qHash(const Form& form, size_t seed) noexcept
        {
            uint64_t hash = 14695981039346656037ull ^ seed;
            for (QChar c : form.text) {
                hash ^= c.unicode();
                hash *= 1099511628211ull;
            }
            return size_t(hash);
        }
    };

    const CStemDictionary& m_dictionary;
    Stemmer& m_stemmer;
    QHash<Form, qint32> m_numbers;
};
