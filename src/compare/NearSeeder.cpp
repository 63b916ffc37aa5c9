#include "compare/NearSeeder.h"

#include <algorithm>

NearSeeder::NearSeeder(const NearIndex& index) : m_index(index), m_score(size_t(index.sentenceCount()), 0) {}

void NearSeeder::clear()
{
    for (qint32 sentence : m_touched)
        m_score[size_t(sentence)] = 0;
    m_touched.clear();
    m_seeds.clear();
    m_unread.clear();
}

double NearSeeder::unread(quint64 signature) const
{
    double total = 0;
    for (qint32 stem : m_unread)
        if (signature & NearIndex::stemBit(stem))
            total += m_index.weight(stem);
    return total;
}

double NearSeeder::scoreOf(qint32 sentence) const
{
    return sentence >= 0 && size_t(sentence) < m_score.size() ? m_score[size_t(sentence)] : 0;
}

void NearSeeder::score(std::span<const qint32> stems)
{
    clear();
    m_rarest.clear();
    for (qint32 stem : stems) {
        const qsizetype n = qsizetype(m_index.sentencesWith(stem).size());
        if (n > 0)
            m_rarest.push_back({n, stem});
        else if (m_index.frequency(stem) > 0)
            m_unread.push_back(stem); // too common to seed
    }
    std::sort(m_rarest.begin(), m_rarest.end());
    qsizetype read = 0;
    for (const auto& [n, stem] : m_rarest) {
        if (read > 0 && read + n > kBudget) {
            m_unread.push_back(stem);
            continue;
        }
        const double weight = m_index.weight(stem);
        read += n;
        for (qint32 sentence : m_index.sentencesWith(stem)) {
            if (m_score[size_t(sentence)] == 0)
                m_touched.push_back(sentence);
            m_score[size_t(sentence)] += weight;
        }
    }
    const auto better = [this](qint32 a, qint32 b) {
        return m_score[size_t(a)] != m_score[size_t(b)] ? m_score[size_t(a)] > m_score[size_t(b)] : a < b;
    };
    const qsizetype n = std::min<qsizetype>(kSeeds, qsizetype(m_touched.size()));
    m_seeds.assign(m_touched.begin(), m_touched.end());
    std::partial_sort(m_seeds.begin(), m_seeds.begin() + n, m_seeds.end(), better);
    m_seeds.resize(size_t(n));
}
