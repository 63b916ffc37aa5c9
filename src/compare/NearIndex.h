#pragma once

#include "compare/NearSentence.h"

#include <span>
#include <vector>

// The original document's side of the near-match search. Holds each sentence's set of
// stems, the weight of every stem, and for each stem the sentences that contain it, so
// that candidates come from shared rare stems rather than from comparing all pairs.
//
// A stem's weight is ln(1 + N / df): N original sentences, df of them contain the
// stem. Function words, found in most sentences, weigh little; a stem the original
// lacks weighs as much as the rarest one. Similarity is the weighted Dice coefficient
// of two stem sets: twice the weight they share over the sum of their weights.
class NearIndex
{
public:
    // sharedNumbers: by stem number, the numbers (NearSentence::numbers) both documents
    // hold; only those enter the sentences' stem sets. Empty: none do.
    explicit NearIndex(std::span<const NearSentence> original, const std::vector<bool>& sharedNumbers = {});

    qint32 sentenceCount() const { return qint32(m_sentences.size()); }
    qint32 wordCount(qint32 sentence) const { return m_sentences[size_t(sentence)].wordCount; }
    double weight(qint32 stem) const { return known(stem) ? m_stemInfo[size_t(stem)].weight : m_absentWeight; }
    // In how many sentences a stem occurs; 0 for a stem the original lacks.
    qint32 frequency(qint32 stem) const { return known(stem) ? m_stemInfo[size_t(stem)].frequency : 0; }

    // The sentences holding a stem, ascending; empty for stems too common to seed
    // candidates (and for stems the original lacks).
    std::span<const qint32> sentencesWith(qint32 stem) const
    {
        if (!known(stem) || m_stemInfo[size_t(stem)].frequency > m_commonLimit)
            return {};
        return allSentencesWith(stem);
    }
    // The same for every stem the original has, however common.
    std::span<const qint32> allSentencesWith(qint32 stem) const
    {
        if (!known(stem))
            return {};
        const qint32 begin = m_stemInfo[size_t(stem)].postingStart;
        return {m_postings.data() + begin, size_t(m_stemInfo[size_t(stem) + 1].postingStart - begin)};
    }

    // A sentence's signature: one bit of 64 for each of its stems (stemBit). A stem
    // whose bit is clear is certainly not in the sentence.
    quint64 signature(qint32 sentence) const { return m_sentences[size_t(sentence)].signature; }
    static quint64 stemBit(qint32 stem) { return quint64(1) << ((quint32(stem) * 0x9E3779B1u) >> 26); }

    // A sentence's stems, sorted and distinct, and their weights in the same order.
    std::span<const qint32> stems(qint32 sentence) const
    {
        const qint32 begin = m_stemStart[size_t(sentence)];
        return {m_stems.data() + begin, size_t(m_stemStart[size_t(sentence) + 1] - begin)};
    }
    std::span<const double> stemWeights(qint32 sentence) const
    {
        const qint32 begin = m_stemStart[size_t(sentence)];
        return {m_stemWeights.data() + begin, size_t(m_stemStart[size_t(sentence) + 1] - begin)};
    }
    // The total weight of the stems of count (1 or 2) sentences from first, each stem once.
    double unitWeight(qint32 first, qint32 count) const
    {
        const Sentence& s = m_sentences[size_t(first)];
        return count == 2 ? s.pairWeight : s.weight;
    }

    // A stem in more sentences than this seeds no candidates: a small document seeds
    // from every stem, a larger one skips stems in more than a hundredth of its
    // sentences, and none reads more than 256 sentences for a stem, so that the work
    // per edited sentence stays bounded.
    static qint32 commonLimit(qint32 sentenceCount);
    static constexpr qint32 kMaxCommonLimit = 256;

    // Sorts and deduplicates stems in place; returns their total weight.
    double MakeStemSet(std::vector<qint32>& stems) const;

private:
    // What the search reads of a sentence for every candidate, in one place in memory.
    struct Sentence
    {
        double weight = 0;
        double pairWeight = 0; // of the union with the next sentence
        quint64 signature = 0;
        qint32 wordCount = 0;
    };
    // What seeding reads of a stem, likewise.
    struct Stem
    {
        double weight = 0;
        qint32 frequency = 0;
        qint32 postingStart = 0; // its sentences are m_postings[postingStart .. next stem's postingStart)
    };

    bool known(qint32 stem) const { return stem >= 0 && size_t(stem) + 1 < m_stemInfo.size(); }

    qint32 m_commonLimit = 0;

    std::vector<Sentence> m_sentences;
    std::vector<qint32> m_stemStart; // sentence i's stems are m_stems[m_stemStart[i] .. m_stemStart[i + 1])
    std::vector<qint32> m_stems;
    std::vector<double> m_stemWeights; // beside m_stems, so a pass over a sentence reads one run of memory
    std::vector<Stem> m_stemInfo;      // by stem number, and one past the last for the end of the postings
    double m_absentWeight = 0;
    std::vector<qint32> m_postings;
};
