#include "compare/NearSearch.h"

#include "compare/NearIndex.h"
#include "compare/NearRelations.h"
#include "compare/NearSeeder.h"

#include <algorithm>
#include <vector>

namespace {

struct Unit
{
    qint32 first = 0;
    qint32 count = 1;
    bool operator==(const Unit&) const = default;
};

// The edited copy's sentences as stem sets (sorted, distinct) with their weights.
class EditedSets
{
public:
    EditedSets(std::span<const NearSentence> edited, const NearIndex& index, const std::vector<bool>& sharedNumbers)
    {
        m_start.reserve(edited.size() + 1);
        m_start.push_back(0);
        std::vector<qint32> stems;
        for (const NearSentence& sentence : edited) {
            stems.clear();
            for (const NearSentence::Word& word : sentence.words)
                if (word.stem >= 0)
                    stems.push_back(word.stem);
            for (qint32 number : sentence.numbers)
                if (number >= 0 && size_t(number) < sharedNumbers.size() && sharedNumbers[size_t(number)])
                    stems.push_back(number);
            m_weight.push_back(index.MakeStemSet(stems));
            m_stems.insert(m_stems.end(), stems.begin(), stems.end());
            m_start.push_back(qint32(m_stems.size()));
            m_wordCount.push_back(qint32(sentence.words.size()));
        }
    }

    std::span<const qint32> stems(qint32 i) const
    {
        return {m_stems.data() + m_start[size_t(i)], size_t(m_start[size_t(i) + 1] - m_start[size_t(i)])};
    }
    double weight(qint32 i) const { return m_weight[size_t(i)]; }
    qint32 wordCount(qint32 i) const { return m_wordCount[size_t(i)]; }
    qint32 largestStem() const { return m_stems.empty() ? -1 : *std::max_element(m_stems.begin(), m_stems.end()); }

private:
    std::vector<qint32> m_start;
    std::vector<qint32> m_stems;
    std::vector<double> m_weight;
    std::vector<qint32> m_wordCount;
};

// The similarity of one edited unit with original units. The edited unit's stems are
// marked once; each original unit then costs one pass over its own stems.
class UnitComparer
{
public:
    UnitComparer(const NearIndex& index, qint32 stemCount, const NearOptions& options)
        : m_index(index), m_marks(size_t(stemCount), 0), m_relations(options.relations),
          m_relatedWeight(std::clamp(options.relatedWeight, 0.0, 1.0))
    {
    }

    void setEdited(std::span<const qint32> stems, double weight)
    {
        m_stems = stems;
        m_weight = weight;
        ++m_epoch;
        for (qint32 stem : stems)
            m_marks[size_t(stem)] = m_epoch;
        // The edited stems an original word may stand for, and the most they may add.
        m_related.clear();
        m_relatedCeiling = 0;
        if (!m_relations || m_relatedWeight == 0)
            return;
        for (qint32 stem : stems) {
            double best = 0;
            for (const NearRelations::Link& link : m_relations->of(stem))
                if (m_index.frequency(link.stem) > 0 && !marked(link.stem))
                    best = std::max(best, m_index.weight(link.stem));
            if (best > 0) {
                m_related.push_back(stem);
                m_relatedCeiling += m_relatedWeight * (m_index.weight(stem) + best);
            }
        }
    }

    double editedWeight() const { return m_weight; }

    double similarity(Unit unit)
    {
        const double total = m_index.unitWeight(unit.first, unit.count) + m_weight;
        // Sums taken in different orders may differ in the last bits; equal sets give 1.
        return total > 0 ? std::min(1.0, (2 * shared(unit) + related(unit)) / total) : 0;
    }

    // The similarity the unit could reach at most if it shared `bound` weight; it
    // cannot share more than the lighter side weighs, and related words add at most
    // their ceiling.
    double ceiling(Unit unit, double bound) const
    {
        const double unitWeight = m_index.unitWeight(unit.first, unit.count);
        const double total = unitWeight + m_weight;
        return total > 0 ? (2 * std::min({bound, unitWeight, m_weight}) + m_relatedCeiling) / total : 0;
    }

private:
    bool marked(qint32 stem) const { return size_t(stem) < m_marks.size() && m_marks[size_t(stem)] == m_epoch; }

    // What related words add to twice the shared weight: each edited stem the unit
    // lacks pairs with at most one related original stem the edited unit lacks, each
    // original stem with at most one edited stem, both counted at the related weight.
    double related(Unit unit)
    {
        if (m_related.empty())
            return 0;
        const std::span<const qint32> a = m_index.stems(unit.first);
        const std::span<const qint32> b = unit.count == 2 ? m_index.stems(unit.first + 1) : std::span<const qint32>();
        const auto inUnit = [a, b](qint32 stem) {
            return std::binary_search(a.begin(), a.end(), stem) || std::binary_search(b.begin(), b.end(), stem);
        };
        double total = 0;
        m_used.clear();
        for (qint32 stem : m_related) {
            if (inUnit(stem))
                continue;
            for (const NearRelations::Link& link : m_relations->of(stem))
                if (!marked(link.stem) && std::find(m_used.begin(), m_used.end(), link.stem) == m_used.end() &&
                    inUnit(link.stem)) {
                    m_used.push_back(link.stem);
                    total += m_relatedWeight * (m_index.weight(stem) + m_index.weight(link.stem));
                    break;
                }
        }
        return total;
    }

    double shared(Unit unit) const
    {
        const std::span<const qint32> a = m_index.stems(unit.first);
        const std::span<const qint32> b = unit.count == 2 ? m_index.stems(unit.first + 1) : std::span<const qint32>();
        const auto holds = [](std::span<const qint32> set, qint32 stem) {
            return std::binary_search(set.begin(), set.end(), stem);
        };
        double total = 0;
        if (a.size() + b.size() > 8 * m_stems.size() + 64) {
            // A very long original sentence: look the few edited stems up in it instead.
            for (qint32 stem : m_stems)
                if (holds(a, stem) || holds(b, stem))
                    total += m_index.weight(stem);
            return total;
        }
        const std::span<const double> aWeights = m_index.stemWeights(unit.first);
        for (size_t i = 0; i < a.size(); ++i)
            if (marked(a[i]))
                total += aWeights[i];
        if (unit.count == 2) {
            const std::span<const double> bWeights = m_index.stemWeights(unit.first + 1);
            for (size_t i = 0; i < b.size(); ++i)
                if (marked(b[i]) && !holds(a, b[i]))
                    total += bWeights[i];
        }
        return total;
    }

    const NearIndex& m_index;
    std::vector<quint32> m_marks; // by stem: the epoch of the edited unit that holds it
    quint32 m_epoch = 0;
    std::span<const qint32> m_stems;
    double m_weight = 0;
    const NearRelations* m_relations;
    double m_relatedWeight;
    std::vector<qint32> m_related; // edited stems with a related stem in the original
    double m_relatedCeiling = 0;
    std::vector<qint32> m_used;
};

// An original sentence this many times longer than an edited one is never taken for
// the sentence it is half of.
constexpr qint32 kMaxSplitRatio = 4;

// A run of three adjacent stems, hashed.
quint64 Shingle(const QList<NearSentence::Word>& words, qsizetype i)
{
    return (quint64(quint32(words[i].stem)) * 0x9E3779B97F4A7C15ull) ^
           (quint64(quint32(words[i + 1].stem)) * 0xC2B2AE3D27D4EB4Full) ^ quint64(quint32(words[i + 2].stem));
}

// The runs of three adjacent stems of every original sentence, each sentence's sorted,
// worked out once for the whole search.
class OriginalShingles
{
public:
    explicit OriginalShingles(std::span<const NearSentence> original) : m_original(original) {}

    // One bit of 64 for a shingle: a shingle whose bit a sentence's mask lacks is not in it.
    static quint64 bitOf(quint64 shingle) { return quint64(1) << (shingle >> 58); }

    std::span<const quint64> of(qint32 sentence)
    {
        if (m_start.empty()) {
            m_start.reserve(m_original.size() + 1);
            m_start.push_back(0);
            m_masks.reserve(m_original.size());
            size_t total = 0;
            for (const NearSentence& s : m_original)
                total += size_t(std::max<qsizetype>(s.words.size() - 2, 0));
            m_shingles.reserve(total);
            for (const NearSentence& s : m_original) {
                const auto begin = m_shingles.size();
                quint64 mask = 0;
                for (qsizetype i = 0; i + 2 < s.words.size(); ++i) {
                    m_shingles.push_back(Shingle(s.words, i));
                    mask |= bitOf(m_shingles.back());
                }
                std::sort(m_shingles.begin() + qsizetype(begin), m_shingles.end());
                m_start.push_back(m_shingles.size());
                m_masks.push_back(mask);
            }
        }
        return {m_shingles.data() + m_start[size_t(sentence)],
                m_start[size_t(sentence) + 1] - m_start[size_t(sentence)]};
    }
    // The bits of a sentence's shingles, once of() has run.
    quint64 mask(qint32 sentence) const { return m_masks[size_t(sentence)]; }

private:
    std::span<const NearSentence> m_original;
    std::vector<quint64> m_shingles;
    std::vector<size_t> m_start;
    std::vector<quint64> m_masks;
};

// The share of an edited sentence's runs of three adjacent stems (editedShingles) that
// occur in an original sentence's (sorted, with their mask); 0 when under one half,
// which is never taken: the count stops as soon as half is out of reach, as it soon is
// for most seeds.
double ShingleShare(std::span<const quint64> editedShingles, std::span<const quint64> original, quint64 originalMask)
{
    if (editedShingles.empty() || original.empty())
        return 0;
    const size_t count = editedShingles.size();
    size_t found = 0;
    for (size_t i = 0; i < count; ++i) {
        if (2 * (found + count - i) < count)
            return 0;
        // std::binary_search, without branches: whether a shingle is there is as good as
        // random, and its mispredicted branches were most of the time of this search.
        const quint64 shingle = editedShingles[i];
        // Most shingles of a sentence that is not the other half are ruled out by the mask.
        if ((originalMask & OriginalShingles::bitOf(shingle)) == 0)
            continue;
        const quint64* base = original.data();
        for (size_t n = original.size(); n > 1;) {
            const size_t half = n / 2;
            base = base[half] <= shingle ? base + half : base;
            n -= half;
        }
        found += *base == shingle;
    }
    return double(found) / double(count);
}

// Whether candidate a is taken before b: more similar first; on a tie a single sentence
// on each side before a split or a join, then in document order.
bool takenBefore(const NearMatch& a, const NearMatch& b)
{
    if (a.similarity != b.similarity)
        return a.similarity > b.similarity;
    const qint32 sizeA = a.editedCount + a.originalCount;
    const qint32 sizeB = b.editedCount + b.originalCount;
    if (sizeA != sizeB)
        return sizeA < sizeB;
    if (a.editedFirst != b.editedFirst)
        return a.editedFirst < b.editedFirst;
    return a.originalFirst < b.originalFirst;
}

// Whether match a is listed before b: more similar first, ties in document order.
bool listedBefore(const NearMatch& a, const NearMatch& b)
{
    if (a.similarity != b.similarity)
        return a.similarity > b.similarity;
    if (a.editedFirst != b.editedFirst)
        return a.editedFirst < b.editedFirst;
    return a.originalFirst < b.originalFirst;
}

// Finds the best original unit for each edited unit in turn.
class Matcher
{
public:
    Matcher(const NearIndex& index, std::span<const NearSentence> original, qint32 stemCount,
            const NearOptions& options)
        : m_index(index), m_comparer(index, stemCount, options), m_originalShingles(original),
          m_minWords(options.minWords),
          // The allowance keeps a similarity of exactly N% from falling short of N through rounding.
          m_threshold(std::clamp(options.threshold, 1, 100) / 100.0 - 1e-9)
    {
    }

    // One edited sentence against each seed alone and with each neighbour.
    bool matchSentence(const NearSeeder& seeder, std::span<const qint32> stems, double weight, NearMatch& best)
    {
        m_comparer.setEdited(stems, weight);
        m_tried.clear();
        // Every unread stem taken as shared bounds what a unit may share no lower than
        // those its signature may hold, in one sum for all units: a unit it rules out,
        // the finer bound rules out too (sums of weights, added in the same order, only
        // grow with more of them).
        const double allUnread = seeder.unread(~quint64(0));
        bool found = false;
        for (qint32 seed : seeder.seeds())
            for (Unit unit : {Unit{seed, 1}, Unit{seed - 1, 2}, Unit{seed, 2}}) {
                if (!valid(unit))
                    continue;
                double loose = allUnread;
                for (qint32 i = unit.first; i < unit.first + unit.count; ++i)
                    loose += seeder.scoreOf(i);
                if (m_comparer.ceiling(unit, loose) < m_threshold)
                    continue;
                double bound = seeder.unread(signature(unit));
                for (qint32 i = unit.first; i < unit.first + unit.count; ++i)
                    bound += seeder.scoreOf(i);
                found |= consider(unit, bound, best);
            }
        return found;
    }

    // An edited sentence no unit is near enough: the half of a split sentence, when most
    // of its runs of three stems lie in one seed. Its similarity is that share.
    bool matchShingles(const NearSeeder& seeder, const NearSentence& edited, NearMatch& best)
    {
        if (edited.words.size() < NearOptions::kShingleMinWords || qint32(edited.words.size()) <= m_minWords)
            return false;
        m_scratch.clear();
        for (qsizetype i = 0; i + 2 < edited.words.size(); ++i)
            m_scratch.push_back(Shingle(edited.words, i));
        bool found = false;
        for (qint32 seed : seeder.seeds()) {
            // A sentence split in two leaves halves of comparable length: a short
            // sentence is not taken for part of a far longer one, which also bounds
            // the work per seed.
            if (m_index.wordCount(seed) <= m_minWords ||
                m_index.wordCount(seed) > kMaxSplitRatio * qint32(edited.words.size()) + kMaxSplitRatio * 4)
                continue;
            const std::span<const quint64> shingles = m_originalShingles.of(seed);
            const double share = ShingleShare(m_scratch, shingles, m_originalShingles.mask(seed));
            if (share < 0.5 || share < m_threshold)
                continue;
            NearMatch candidate = best;
            candidate.originalFirst = seed;
            candidate.originalCount = 1;
            candidate.similarity = share;
            if (best.similarity > 0 && !takenBefore(candidate, best))
                continue;
            best = candidate;
            found = true;
        }
        return found;
    }

    // A pair of edited sentences against the seeds of either, each alone: a split.
    bool matchPair(const NearSeeder& first, const NearSeeder& second, std::span<const qint32> stems, double weight,
                   NearMatch& best)
    {
        m_comparer.setEdited(stems, weight);
        m_tried.clear();
        // As for one sentence: every unread stem first, the signature's only where that passes.
        const double firstUnread = first.unread(~quint64(0));
        const double secondUnread = second.unread(~quint64(0));
        bool found = false;
        for (const NearSeeder* seeder : {&first, &second})
            for (qint32 seed : seeder->seeds()) {
                const double loose = first.scoreOf(seed) + second.scoreOf(seed) + firstUnread + secondUnread;
                if (m_comparer.ceiling({seed, 1}, loose) < m_threshold)
                    continue;
                const quint64 sign = m_index.signature(seed);
                const double bound =
                    first.scoreOf(seed) + second.scoreOf(seed) + first.unread(sign) + second.unread(sign);
                found |= consider({seed, 1}, bound, best);
            }
        return found;
    }

private:
    bool valid(Unit unit) const { return unit.first >= 0 && unit.first + unit.count <= m_index.sentenceCount(); }

    quint64 signature(Unit unit) const
    {
        quint64 bits = m_index.signature(unit.first);
        if (unit.count == 2)
            bits |= m_index.signature(unit.first + 1);
        return bits;
    }

    bool consider(Unit unit, double bound, NearMatch& best)
    {
        if (std::find(m_tried.begin(), m_tried.end(), unit) != m_tried.end())
            return false;
        m_tried.push_back(unit);
        qint32 words = 0;
        for (qint32 i = unit.first; i < unit.first + unit.count; ++i)
            words += m_index.wordCount(i);
        // The bound on shared weight skips most seeds without a pass over their stems.
        if (words <= m_minWords || m_comparer.ceiling(unit, bound) < m_threshold)
            return false;
        NearMatch candidate = best;
        candidate.originalFirst = unit.first;
        candidate.originalCount = unit.count;
        candidate.similarity = m_comparer.similarity(unit);
        if (candidate.similarity < m_threshold || (best.similarity > 0 && !takenBefore(candidate, best)))
            return false;
        best = candidate;
        return true;
    }

    const NearIndex& m_index;
    UnitComparer m_comparer;
    OriginalShingles m_originalShingles;
    qint32 m_minWords;
    double m_threshold;
    std::vector<Unit> m_tried;
    std::vector<quint64> m_scratch;
};

} // namespace

NearMatchList FindNearMatches(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                              std::span<const qint32> exactEdited, const NearOptions& options)
{
    NearMatchList result;
    if (original.empty() || edited.empty() || options.maxMatches <= 0)
        return result;
    // A number counts only where both documents hold it: written otherwise, added or
    // dropped, it changes nothing.
    std::vector<bool> sharedNumbers;
    {
        std::vector<char> seen;
        const auto mark = [&seen](std::span<const NearSentence> sentences, char bit) {
            for (const NearSentence& sentence : sentences)
                for (qint32 number : sentence.numbers)
                    if (number >= 0) {
                        if (size_t(number) >= seen.size())
                            seen.resize(size_t(number) + 1, 0);
                        seen[size_t(number)] = char(seen[size_t(number)] | bit);
                    }
        };
        mark(original, 1);
        mark(edited, 2);
        sharedNumbers.resize(seen.size());
        for (size_t i = 0; i < seen.size(); ++i)
            sharedNumbers[i] = seen[i] == 3;
    }
    const NearIndex index(original, sharedNumbers);
    const EditedSets sets(edited, index, sharedNumbers);
    const qint32 editedCount = qint32(edited.size());
    std::vector<bool> exact(edited.size(), false);
    for (qint32 i : exactEdited)
        if (i >= 0 && i < editedCount)
            exact[size_t(i)] = true;

    // At most two candidates per edited sentence: its best match alone and with the
    // next sentence. Two seeders take turns, so both sentences' scores are at hand.
    std::vector<NearMatch> candidates;
    Matcher matcher(index, original, sets.largestStem() + 1, options);
    NearSeeder seeders[2] = {NearSeeder(index), NearSeeder(index)};
    std::vector<qint32> pairStems;
    for (qint32 j = 0; j < editedCount; ++j) {
        NearSeeder& current = seeders[j % 2];
        const NearSeeder& previous = seeders[(j + 1) % 2];
        if (exact[size_t(j)]) {
            current.clear();
            continue;
        }
        // Where the copy of sentence j would stand, for sentences without a rare stem.
        current.Score(sets.stems(j), qint32(qint64(j) * index.sentenceCount() / editedCount));
        NearMatch best{0, 1, j, 1, 0};
        if (sets.wordCount(j) > options.minWords &&
            (matcher.matchSentence(current, sets.stems(j), sets.weight(j), best) ||
             matcher.matchShingles(current, edited[size_t(j)], best)))
            candidates.push_back(best);
        if (j > 0 && !exact[size_t(j) - 1] && sets.wordCount(j - 1) + sets.wordCount(j) > options.minWords) {
            const std::span<const qint32> a = sets.stems(j - 1);
            const std::span<const qint32> b = sets.stems(j);
            pairStems.assign(a.begin(), a.end());
            pairStems.insert(pairStems.end(), b.begin(), b.end());
            const double pairWeight = index.MakeStemSet(pairStems);
            NearMatch pairBest{0, 1, j - 1, 2, 0};
            if (matcher.matchPair(previous, current, pairStems, pairWeight, pairBest))
                candidates.push_back(pairBest);
        }
    }

    // Greedy: the most similar candidate first, each edited sentence in one match only.
    // Taken in similarity order, the list holds the most similar matches when the bound cuts it.
    std::sort(candidates.begin(), candidates.end(), takenBefore);
    std::vector<bool> covered(edited.size(), false);
    for (const NearMatch& match : candidates) {
        const size_t first = size_t(match.editedFirst);
        if (covered[first] || (match.editedCount == 2 && covered[first + 1]))
            continue;
        if (result.matches.size() >= options.maxMatches) {
            result.truncated = true;
            break;
        }
        covered[first] = true;
        if (match.editedCount == 2)
            covered[first + 1] = true;
        result.matches.append(match);
    }
    std::stable_sort(result.matches.begin(), result.matches.end(), listedBefore);
    return result;
}
