#include "compare/FindSimilarPhrases.h"

#include "phrases/CStemDictionary.h"
#include "phrases/SplitOptions.h"
#include "phrases/TextWords.h"

#include <QHash>
#include <algorithm>
#include <vector>

namespace {

// A sentence's set of stem numbers, viewed in the search's pool. Two sentences have
// equal fingerprints exactly when their sets are equal, so the sets are compared
// themselves rather than digests of them.
struct StemSet
{
    const std::vector<qint32>* pool = nullptr;
    qsizetype begin = 0;
    qsizetype size = 0;
    size_t hash = 0;

    bool operator==(const StemSet& other) const noexcept
    {
        return size == other.size &&
               std::equal(pool->begin() + begin, pool->begin() + begin + size, other.pool->begin() + other.begin);
    }
    friend size_t qHash(const StemSet& set, size_t seed) noexcept { return set.hash ^ seed; }
};

// The dictionary numbers of the forms, each looked up once: by the stem's number when
// the dictionary was built with the same forms.
class FormNumbers
{
public:
    FormNumbers(const CStemDictionary& dictionary, WordForms& forms)
        : m_dictionary(dictionary), m_forms(forms), m_shared(dictionary.Shares(forms)),
          m_numbers(size_t(forms.size()), -2)
    {
    }

    qint32 of(qint32 form)
    {
        qint32& number = m_numbers[size_t(form)];
        if (number == -2)
            number = m_shared ? m_dictionary.LookupStem(m_forms.stemOf(form))
                              : m_dictionary.Lookup(m_forms.stems().at(m_forms.stemOf(form)));
        return number;
    }

private:
    const CStemDictionary& m_dictionary;
    WordForms& m_forms;
    bool m_shared;
    std::vector<qint32> m_numbers; // -2 not looked up yet
};

// Appends the sorted, distinct stem numbers of a compared sentence to pool; false (and
// pool as it was) when one of its words' stems is not in the dictionary.
bool appendSet(std::span<const qint32> words, FormNumbers& numbers, std::vector<qint32>& pool, StemSet& set)
{
    set.pool = &pool;
    set.begin = qsizetype(pool.size());
    for (const qint32 form : words) {
        const qint32 number = numbers.of(form);
        if (number < 0) {
            pool.resize(size_t(set.begin));
            return false;
        }
        pool.push_back(number);
    }
    const auto first = pool.begin() + set.begin;
    std::sort(first, pool.end());
    pool.erase(std::unique(first, pool.end()), pool.end());
    set.size = qsizetype(pool.size()) - set.begin;
    uint64_t h = 14695981039346656037ull;
    for (auto it = first; it != pool.end(); ++it) {
        h ^= quint32(*it);
        h *= 1099511628211ull;
    }
    set.hash = size_t(h);
    return true;
}

} // namespace

bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, const TextWords& original,
                        const TextWords& edited, WordForms& forms, const SplitOptions& options, qsizetype maxMatches)
{
    const qsizetype limit = std::max<qsizetype>(maxMatches, 0);
    FormNumbers numbers(dictionary, forms);

    // Original sentences by stem set, each group chained in sentence order: walking a
    // chain meets exactly the original entries a scan of all of them would, in order.
    std::vector<qint32> originalPool;
    QHash<StemSet, qint32> lastOfSet; // the last sentence of each set so far
    std::vector<qint32> firstOf(size_t(original.size()), -1);
    std::vector<qint32> next(size_t(original.size()), -1);
    for (qsizetype i = 0; i < original.size(); ++i) {
        StemSet set;
        if (!options.Compares(original.at(i).wordCount) || !appendSet(original.forms(i), numbers, originalPool, set))
            continue;
        const auto it = lastOfSet.find(set);
        if (it == lastOfSet.end()) {
            lastOfSet.insert(set, qint32(i));
            firstOf[size_t(i)] = qint32(i);
        } else {
            next[size_t(*it)] = qint32(i);
            firstOf[size_t(i)] = firstOf[size_t(*it)];
            *it = qint32(i);
        }
    }

    // Each sentence is made a string once; every match of it shares that string.
    std::vector<QString> originalTexts(size_t(original.size()));
    std::vector<qint32> editedPool;
    for (qsizetype j = 0; j < edited.size(); ++j) {
        editedPool.clear();
        StemSet set;
        if (!options.Compares(edited.at(j).wordCount) || !appendSet(edited.forms(j), numbers, editedPool, set))
            continue;
        const auto it = lastOfSet.constFind(set);
        if (it == lastOfSet.constEnd())
            continue;
        const QString editedText = edited.sentenceText(j).toString();
        for (qint32 i = firstOf[size_t(*it)]; i >= 0; i = next[size_t(i)]) {
            if (matches.size() >= limit)
                return false;
            QString& originalText = originalTexts[size_t(i)];
            if (originalText.isNull()) {
                // A sentence copied unchanged shares the copy's string: a third of a
                // long report's sentences are, and each would be held twice.
                const QStringView text = original.sentenceText(i);
                originalText = text == editedText ? editedText : text.toString();
            }
            matches.append(PhraseMatch{originalText, editedText, i, qint32(j)});
        }
    }
    return true;
}

bool FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText, const SplitOptions& options, Stemmer& stemmer, qsizetype maxMatches)
{
    WordForms forms(stemmer);
    const TextWords original(originalText, options, forms);
    const TextWords edited(editedText, options, forms);
    return FindSimilarPhrases(matches, dictionary, original, edited, forms, options, maxMatches);
}
