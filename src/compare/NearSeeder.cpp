#include "compare/NearSeeder.h"

#include <algorithm>

void NearSeeder::clear()
{
    for (quint32 slot : m_used)
        m_slots[slot] = Slot();
    m_used.clear();
    m_seeds.clear();
    m_unread.clear();
}

// Inline: scoring adds a sentence for every posting it reads.
inline quint32 NearSeeder::slotOf(qint32 sentence) const
{
    // Linear probing from a multiplicative hash; the table is never more than a quarter full.
    quint32 slot = (quint32(sentence) * 0x9E3779B1u) >> (32 - kSlotBits);
    while (m_slots[slot].sentence != -1 && m_slots[slot].sentence != sentence)
        slot = (slot + 1) & ((1u << kSlotBits) - 1);
    return slot;
}

double NearSeeder::scoreOf(qint32 sentence) const
{
    return sentence < 0 ? 0 : m_slots[slotOf(sentence)].score;
}

double NearSeeder::unread(quint64 signature) const
{
    // Without branches: which bits a signature holds is as good as random. Adding 0 leaves
    // the sum exactly as it was.
    double total = 0;
    for (const Unread& stem : m_unread)
        total += (signature & stem.bit) != 0 ? stem.weight : 0.0;
    return total;
}

inline void NearSeeder::Add(qint32 sentence, double weight)
{
    const quint32 slot = slotOf(sentence);
    if (m_slots[slot].sentence == -1) {
        m_slots[slot].sentence = sentence;
        m_used.push_back(slot);
    }
    m_slots[slot].score += weight;
}

void NearSeeder::scoreCommon(std::span<const qint32> stems, qint32 near)
{
    m_rarest.clear();
    for (qint32 stem : stems)
        if (m_index.frequency(stem) > 0)
            m_rarest.push_back({m_index.frequency(stem), stem});
    std::sort(m_rarest.begin(), m_rarest.end());
    // Only part of each stem's sentences is read: none is known absent from the rest, so
    // every stem stays in the bound on what a sentence could share.
    for (const auto& [n, stem] : m_rarest)
        m_unread.push_back(unreadOf(stem));
    const qsizetype window = kBudget / kCommonStemsRead;
    const qsizetype stemsRead = std::min<qsizetype>(kCommonStemsRead, qsizetype(m_rarest.size()));
    for (qsizetype k = 0; k < stemsRead; ++k) {
        const qint32 stem = m_rarest[size_t(k)].second;
        const std::span<const qint32> all = m_index.allSentencesWith(stem);
        const qsizetype at = std::lower_bound(all.begin(), all.end(), near) - all.begin();
        const qsizetype begin =
            std::clamp<qsizetype>(at - window / 2, 0, std::max<qsizetype>(0, qsizetype(all.size()) - window));
        const qsizetype end = std::min<qsizetype>(begin + window, qsizetype(all.size()));
        const double weight = m_index.weight(stem);
        for (qsizetype i = begin; i < end; ++i)
            Add(all[size_t(i)], weight);
    }
}

void NearSeeder::Score(std::span<const qint32> stems, qint32 near)
{
    clear();
    m_rarest.clear();
    for (qint32 stem : stems) {
        const qsizetype n = qsizetype(m_index.sentencesWith(stem).size());
        if (n > 0)
            m_rarest.push_back({n, stem});
        else if (m_index.frequency(stem) > 0)
            m_unread.push_back(unreadOf(stem)); // too common to seed
    }
    std::sort(m_rarest.begin(), m_rarest.end());
    qsizetype read = 0;
    for (const auto& [n, stem] : m_rarest) {
        if (read + n > kBudget) {
            m_unread.push_back(unreadOf(stem));
            continue;
        }
        read += n;
        const double weight = m_index.weight(stem);
        for (qint32 sentence : m_index.sentencesWith(stem))
            Add(sentence, weight);
    }
    if (m_rarest.empty()) {
        m_unread.clear();
        scoreCommon(stems, near);
    }

    // The best seeds: highest score first, then in sentence order. Kept in order as the
    // slots are read: after the first few, a slot rarely beats the last seed, so this is
    // one comparison for most of them.
    const auto better = [](const Slot& a, const Slot& b) {
        return a.score != b.score ? a.score > b.score : a.sentence < b.sentence;
    };
    std::array<Slot, kSeeds> best;
    size_t count = 0;
    for (quint32 slot : m_used) {
        const Slot& candidate = m_slots[slot];
        if (count == best.size() && !better(candidate, best.back()))
            continue;
        size_t at = std::min(count, best.size() - 1);
        for (; at > 0 && better(candidate, best[at - 1]); --at)
            best[at] = best[at - 1];
        best[at] = candidate;
        count = std::min(count + 1, best.size());
    }
    for (size_t i = 0; i < count; ++i)
        m_seeds.push_back(best[i].sentence);
}
