#pragma once

#include "compare/NearIndex.h"

#include <array>
#include <span>
#include <vector>

// Picks the original sentences worth comparing with one edited sentence: those that
// share the most weight of its rarest stems. Reads the postings of the rarest stems
// first and stops at a budget, so the work per sentence stays constant however long
// the original is. A sentence whose stems are all too common to seed reads, within
// the same budget, the sentences around the place its copy would keep in the original
// that hold its least common stems. The scores stay readable until the next call of
// Score().
class NearSeeder
{
public:
    // Seeds kept per edited sentence.
    static constexpr qsizetype kSeeds = 8;
    // Postings read per edited sentence. No seeding stem has more, so the rarest one
    // is always read whole.
    static constexpr qsizetype kBudget = 256;
    static_assert(NearIndex::kMaxCommonLimit <= kBudget);
    // Common stems read around the expected place when no stem seeds.
    static constexpr qsizetype kCommonStemsRead = 4;

    explicit NearSeeder(const NearIndex& index) : m_index(index) {}

    // Scores the original sentences against an edited sentence's stems (sorted,
    // distinct); `near` is the original sentence where its copy would stand.
    void Score(std::span<const qint32> stems, qint32 near = 0);
    // Forgets the last scores, as if an edited sentence without stems had been scored.
    void clear();

    // The best seeds, at most kSeeds: highest score first, then in sentence order.
    const std::vector<qint32>& seeds() const { return m_seeds; }
    // The weight of the edited stems an original sentence shares among those read.
    double scoreOf(qint32 sentence) const;
    // The weight of the edited stems whose postings were not read and whose bit is in
    // a signature (NearIndex::signature): no sentence can share more than its score
    // and this, taken with its signature.
    double unread(quint64 signature) const;

private:
    // Scores live in a small open-addressing table rather than in an array over all
    // original sentences: a sentence touches at most kBudget of them, and the table
    // stays in the processor's nearest cache however long the original is.
    static constexpr quint32 kSlotBits = 10;
    static_assert((1 << kSlotBits) >= 4 * kBudget);
    struct Slot
    {
        qint32 sentence = -1;
        double score = 0;
    };

    quint32 slotOf(qint32 sentence) const;
    void Add(qint32 sentence, double weight);
    void scoreCommon(std::span<const qint32> stems, qint32 near);

    const NearIndex& m_index;
    std::array<Slot, 1 << kSlotBits> m_slots{};
    std::vector<quint32> m_used; // slots taken, to clear them
    std::vector<qint32> m_seeds;
    std::vector<std::pair<qsizetype, qint32>> m_rarest; // (sentences holding it, stem)
    // A stem of the original whose postings were not read: its bit and weight.
    struct Unread
    {
        quint64 bit = 0;
        double weight = 0;
    };
    Unread unreadOf(qint32 stem) const { return {NearIndex::stemBit(stem), m_index.weight(stem)}; }
    std::vector<Unread> m_unread;
};
