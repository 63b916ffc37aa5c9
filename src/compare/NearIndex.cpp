#include "compare/NearIndex.h"

#include <algorithm>
#include <cmath>

NearIndex::NearIndex(std::span<const NearSentence> original, const std::vector<bool>& sharedNumbers)
{
    const qint32 count = qint32(original.size());
    m_sentences.resize(size_t(count));
    m_stemStart.reserve(size_t(count) + 1);
    m_stemStart.push_back(0);
    std::vector<qint32> sentenceStems;
    for (qint32 i = 0; i < count; ++i) {
        sentenceStems.clear();
        for (const NearSentence::Word& word : original[size_t(i)].words)
            if (word.stem >= 0)
                sentenceStems.push_back(word.stem);
        for (qint32 number : original[size_t(i)].numbers)
            if (number >= 0 && size_t(number) < sharedNumbers.size() && sharedNumbers[size_t(number)])
                sentenceStems.push_back(number);
        std::sort(sentenceStems.begin(), sentenceStems.end());
        sentenceStems.erase(std::unique(sentenceStems.begin(), sentenceStems.end()), sentenceStems.end());
        m_stems.insert(m_stems.end(), sentenceStems.begin(), sentenceStems.end());
        m_stemStart.push_back(qint32(m_stems.size()));
        m_sentences[size_t(i)].wordCount = qint32(original[size_t(i)].words.size());
    }

    // Document frequencies, then weights.
    const qint32 stemCount = m_stems.empty() ? 0 : *std::max_element(m_stems.begin(), m_stems.end()) + 1;
    m_stemInfo.resize(size_t(stemCount) + 1);
    for (qint32 stem : m_stems)
        ++m_stemInfo[size_t(stem)].frequency;
    for (qint32 stem = 0; stem < stemCount; ++stem) {
        Stem& info = m_stemInfo[size_t(stem)];
        info.weight = std::log1p(double(count) / std::max(1, info.frequency));
    }
    m_absentWeight = std::log1p(double(count));
    m_stemWeights.reserve(m_stems.size());
    for (qint32 stem : m_stems)
        m_stemWeights.push_back(m_stemInfo[size_t(stem)].weight);

    for (qint32 i = 0; i < count; ++i) {
        Sentence& sentence = m_sentences[size_t(i)];
        for (qint32 stem : stems(i)) {
            sentence.weight += weight(stem);
            sentence.signature |= stemBit(stem);
        }
    }
    // The stems of the next sentence are marked by its number, so that each stem of a
    // sentence is looked up in one step rather than searched for.
    std::vector<qint32> inSentence(size_t(stemCount), -1);
    for (qint32 i = 0; i + 1 < count; ++i) {
        for (qint32 stem : stems(i + 1))
            inSentence[size_t(stem)] = i + 1;
        double shared = 0;
        for (qint32 stem : stems(i))
            if (inSentence[size_t(stem)] == i + 1)
                shared += weight(stem);
        m_sentences[size_t(i)].pairWeight = m_sentences[size_t(i)].weight + m_sentences[size_t(i) + 1].weight - shared;
    }

    // Postings of every stem, sentences ascending; seeding reads those of the rare ones.
    m_commonLimit = commonLimit(count);
    qint32 start = 0;
    for (Stem& info : m_stemInfo) {
        info.postingStart = start;
        start += info.frequency;
    }
    m_postings.resize(size_t(start));
    std::vector<qint32> fill(static_cast<size_t>(stemCount));
    for (qint32 stem = 0; stem < stemCount; ++stem)
        fill[size_t(stem)] = m_stemInfo[size_t(stem)].postingStart;
    for (qint32 i = 0; i < count; ++i)
        for (qint32 stem : stems(i))
            m_postings[size_t(fill[size_t(stem)]++)] = i;
}

qint32 NearIndex::commonLimit(qint32 sentenceCount)
{
    return std::clamp(sentenceCount / 100, 32, kMaxCommonLimit);
}

double NearIndex::MakeStemSet(std::vector<qint32>& stems) const
{
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    double total = 0;
    for (qint32 stem : stems)
        total += weight(stem);
    return total;
}
