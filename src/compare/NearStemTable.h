#pragma once

#include "compare/NearSentence.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>

class DelimiterSet;

// Prepares sentences for the near-match search: splits them into words and numbers
// the words' stems densely (0, 1, 2 ...) in order of first appearance. One table is
// used for both documents, so a stem keeps its number across them. Each distinct
// word is stemmed once; the stem function receives it lower-cased.
class NearStemTable
{
public:
    using StemFunction = std::function<QString(const QString& lowerCasedWord)>;

    explicit NearStemTable(StemFunction stem);

    // The sentence split at the word delimiters. Symbols around a token's letters and
    // digits (dashes, ellipses) are not part of its word, and a token without a letter
    // or digit is no word: punctuation never changes how similar two sentences are.
    // Each run of digits is also numbered as a stem of its own, whatever the delimiters.
    NearSentence sentence(const QString& text, const DelimiterSet& wordDelimiters);

    // The number of a stem, given a new one when the stem is new.
    qint32 NumberOf(const QString& stem);
    // How many distinct stems have numbers.
    qint32 size() const { return qint32(m_numbers.size()); }
    // Every stem, by its number.
    QStringList stems() const;

    // Words are cached up to this many; the cache is then started afresh.
    static constexpr qsizetype kWordCacheLimit = 200000;

private:
    // A word as written, viewed in m_words. Words are short: a plain FNV-1a over the
    // code units hashes them faster than the general string hash.
    struct Form
    {
        QStringView text;
        bool operator==(const Form& other) const noexcept
        {
            // A plain loop: words are a few characters, too short for a memcmp call to pay.
            if (text.size() != other.text.size())
                return false;
            const char16_t* a = text.utf16();
            const char16_t* b = other.text.utf16();
            for (qsizetype i = 0, n = text.size(); i < n; ++i)
                if (a[i] != b[i])
                    return false;
            return true;
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

    qint32 wordNumber(QStringView word);

    StemFunction m_stem;
    QHash<QString, qint32> m_numbers;
    // The cache of words: a hit costs no allocation. Keys view the strings of m_words,
    // whose characters never move.
    QList<QString> m_words;
    QHash<Form, qint32> m_wordNumbers;
};
