#include "compare/NearIndex.h"

#include <algorithm>
#include <cmath>

namespace {

// Whether a sorted stem set holds a stem.
bool holds(std::span<const qint32> stems, qint32 stem)
{
    return std::binary_search(stems.begin(), stems.end(), stem);
}

} // namespace

NearIndex::NearIndex(std::span<const NearSentence> original)
{
    const qint32 count = qint32(original.size());
    m_wordCounts.reserve(size_t(count));
    m_stemStart.reserve(size_t(count) + 1);
    m_stemStart.push_back(0);
    std::vector<qint32> sentenceStems;
    for (const NearSentence& sentence : original) {
        sentenceStems.clear();
        for (const NearSentence::Word& word : sentence.words)
            if (word.stem >= 0)
                sentenceStems.push_back(word.stem);
        std::sort(sentenceStems.begin(), sentenceStems.end());
        sentenceStems.erase(std::unique(sentenceStems.begin(), sentenceStems.end()), sentenceStems.end());
        m_stems.insert(m_stems.end(), sentenceStems.begin(), sentenceStems.end());
        m_stemStart.push_back(qint32(m_stems.size()));
        m_wordCounts.push_back(qint32(sentence.words.size()));
    }

    // Document frequencies, then weights.
    const qint32 stemCount = m_stems.empty() ? 0 : *std::max_element(m_stems.begin(), m_stems.end()) + 1;
    m_frequency.assign(size_t(stemCount), 0);
    std::vector<qint32>& frequency = m_frequency;
    for (qint32 stem : m_stems)
        ++frequency[size_t(stem)];
    m_weights.resize(size_t(stemCount));
    for (qint32 stem = 0; stem < stemCount; ++stem)
        m_weights[size_t(stem)] = std::log1p(double(count) / std::max(1, frequency[size_t(stem)]));
    m_absentWeight = std::log1p(double(count));
    m_stemWeights.reserve(m_stems.size());
    for (qint32 stem : m_stems)
        m_stemWeights.push_back(m_weights[size_t(stem)]);

    m_sentenceWeight.resize(size_t(count));
    m_signatures.resize(size_t(count));
    for (qint32 i = 0; i < count; ++i) {
        double total = 0;
        quint64 signature = 0;
        for (qint32 stem : stems(i)) {
            total += m_weights[size_t(stem)];
            signature |= stemBit(stem);
        }
        m_sentenceWeight[size_t(i)] = total;
        m_signatures[size_t(i)] = signature;
    }
    m_pairWeight.resize(size_t(std::max(0, count - 1)));
    for (qint32 i = 0; i + 1 < count; ++i) {
        double shared = 0;
        const std::span<const qint32> next = stems(i + 1);
        for (qint32 stem : stems(i))
            if (holds(next, stem))
                shared += m_weights[size_t(stem)];
        m_pairWeight[size_t(i)] = m_sentenceWeight[size_t(i)] + m_sentenceWeight[size_t(i) + 1] - shared;
    }

    // Postings of the stems rare enough to seed candidates, sentences ascending.
    const qint32 limit = commonLimit(count);
    m_postingStart.assign(size_t(stemCount) + 1, 0);
    for (qint32 stem = 0; stem < stemCount; ++stem) {
        const qint32 n = frequency[size_t(stem)];
        m_postingStart[size_t(stem) + 1] = m_postingStart[size_t(stem)] + (n <= limit ? n : 0);
    }
    m_postings.resize(size_t(m_postingStart.back()));
    std::vector<qint32> fill(m_postingStart.begin(), m_postingStart.end() - 1);
    for (qint32 i = 0; i < count; ++i)
        for (qint32 stem : stems(i))
            if (frequency[size_t(stem)] <= limit)
                m_postings[size_t(fill[size_t(stem)]++)] = i;
}

qint32 NearIndex::commonLimit(qint32 sentenceCount)
{
    return std::clamp(sentenceCount / 100, 32, 256);
}

qint32 NearIndex::frequency(qint32 stem) const
{
    return stem >= 0 && size_t(stem) < m_frequency.size() ? m_frequency[size_t(stem)] : 0;
}

double NearIndex::weight(qint32 stem) const
{
    return stem >= 0 && size_t(stem) < m_weights.size() ? m_weights[size_t(stem)] : m_absentWeight;
}

std::span<const qint32> NearIndex::stems(qint32 sentence) const
{
    const qint32 begin = m_stemStart[size_t(sentence)];
    return {m_stems.data() + begin, size_t(m_stemStart[size_t(sentence) + 1] - begin)};
}

std::span<const double> NearIndex::stemWeights(qint32 sentence) const
{
    const qint32 begin = m_stemStart[size_t(sentence)];
    return {m_stemWeights.data() + begin, size_t(m_stemStart[size_t(sentence) + 1] - begin)};
}

std::span<const qint32> NearIndex::sentencesWith(qint32 stem) const
{
    if (stem < 0 || size_t(stem) + 1 >= m_postingStart.size())
        return {};
    const qint32 begin = m_postingStart[size_t(stem)];
    return {m_postings.data() + begin, size_t(m_postingStart[size_t(stem) + 1] - begin)};
}

double NearIndex::unitWeight(qint32 first, qint32 count) const
{
    return count == 2 ? m_pairWeight[size_t(first)] : m_sentenceWeight[size_t(first)];
}

double NearIndex::makeStemSet(std::vector<qint32>& stems) const
{
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    double total = 0;
    for (qint32 stem : stems)
        total += weight(stem);
    return total;
}
