#include "compare/NearSearch.h"

#include "compare/NearIndex.h"

#include <algorithm>
#include <vector>

namespace {

// Seeds per edited sentence: the original sentences sharing the most rare-stem
// weight with it. Each also brings its pairs with its neighbours.
constexpr qsizetype kSeeds = 8;

struct Unit
{
    qint32 first = 0;
    qint32 count = 1;
    bool operator==(const Unit&) const = default;
};

// The edited copy's sentences as stem sets, laid out like the index's.
class EditedSets
{
public:
    EditedSets(std::span<const NearSentence> edited, const NearIndex& index)
    {
        m_start.reserve(edited.size() + 1);
        m_start.push_back(0);
        std::vector<qint32> stems;
        for (const NearSentence& sentence : edited) {
            stems.clear();
            for (const NearSentence::Word& word : sentence.words)
                if (word.stem >= 0)
                    stems.push_back(word.stem);
            m_weight.push_back(index.makeStemSet(stems));
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

private:
    std::vector<qint32> m_start;
    std::vector<qint32> m_stems;
    std::vector<double> m_weight;
    std::vector<qint32> m_wordCount;
};

// Accumulates shared rare-stem weight per original sentence and picks the best seeds.
class Seeder
{
public:
    explicit Seeder(const NearIndex& index) : m_index(index), m_score(size_t(index.sentenceCount()), 0) {}

    void seeds(std::span<const qint32> stems, std::vector<qint32>& out)
    {
        out.clear();
        for (qint32 stem : stems) {
            const double w = m_index.weight(stem);
            for (qint32 sentence : m_index.sentencesWith(stem)) {
                if (m_score[size_t(sentence)] == 0)
                    m_touched.push_back(sentence);
                m_score[size_t(sentence)] += w;
            }
        }
        const auto better = [this](qint32 a, qint32 b) {
            return m_score[size_t(a)] != m_score[size_t(b)] ? m_score[size_t(a)] > m_score[size_t(b)] : a < b;
        };
        const qsizetype n = std::min<qsizetype>(kSeeds, qsizetype(m_touched.size()));
        std::partial_sort(m_touched.begin(), m_touched.begin() + n, m_touched.end(), better);
        out.assign(m_touched.begin(), m_touched.begin() + n);
        for (qint32 sentence : m_touched)
            m_score[size_t(sentence)] = 0;
        m_touched.clear();
    }

private:
    const NearIndex& m_index;
    std::vector<double> m_score;
    std::vector<qint32> m_touched;
};

// The original units a set of seeds brings: each seed alone and with each neighbour,
// keeping only units with enough words.
void unitsOf(const std::vector<qint32>& seeds, const NearIndex& index, qint32 minWords, std::vector<Unit>& units)
{
    units.clear();
    const auto add = [&](Unit unit) {
        if (unit.first < 0 || unit.first + unit.count > index.sentenceCount())
            return;
        qint32 words = 0;
        for (qint32 i = unit.first; i < unit.first + unit.count; ++i)
            words += index.wordCount(i);
        if (words > minWords && std::find(units.begin(), units.end(), unit) == units.end())
            units.push_back(unit);
    };
    for (qint32 seed : seeds) {
        add({seed, 1});
        add({seed - 1, 2});
        add({seed, 2});
    }
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

// The best original unit for one edited unit, when it reaches the threshold.
bool bestMatch(const NearIndex& index, const std::vector<Unit>& units, std::span<const qint32> stems, double weight,
               double threshold, NearMatch& best)
{
    bool found = false;
    for (const Unit& unit : units) {
        NearMatch candidate = best;
        candidate.originalFirst = unit.first;
        candidate.originalCount = unit.count;
        candidate.similarity = index.similarity(unit.first, unit.count, stems, weight);
        if (candidate.similarity >= threshold && (!found || takenBefore(candidate, best))) {
            best = candidate;
            found = true;
        }
    }
    return found;
}

} // namespace

NearMatchList FindNearMatches(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                              std::span<const qint32> exactEdited, const NearOptions& options)
{
    NearMatchList result;
    if (original.empty() || edited.empty() || options.maxMatches <= 0)
        return result;
    const NearIndex index(original);
    const EditedSets sets(edited, index);
    const qint32 editedCount = qint32(edited.size());
    std::vector<bool> exact(edited.size(), false);
    for (qint32 i : exactEdited)
        if (i >= 0 && i < editedCount)
            exact[size_t(i)] = true;
    // The allowance keeps a similarity of exactly N% from falling short of N through rounding.
    const double threshold = std::clamp(options.threshold, 1, 100) / 100.0 - 1e-9;

    // At most two candidates per edited sentence: the best match of the sentence alone
    // and of the sentence with the next one.
    std::vector<NearMatch> candidates;
    Seeder seeder(index);
    std::vector<qint32> seeds;
    std::vector<qint32> previousSeeds;
    std::vector<qint32> pairSeeds;
    std::vector<Unit> units;
    std::vector<qint32> pairStems;
    for (qint32 j = 0; j < editedCount; ++j) {
        seeds.clear();
        if (!exact[size_t(j)]) {
            seeder.seeds(sets.stems(j), seeds);
            if (sets.wordCount(j) > options.minWords) {
                unitsOf(seeds, index, options.minWords, units);
                NearMatch best{0, 1, j, 1, 0};
                if (bestMatch(index, units, sets.stems(j), sets.weight(j), threshold, best))
                    candidates.push_back(best);
            }
            if (j > 0 && !exact[size_t(j) - 1] && sets.wordCount(j - 1) + sets.wordCount(j) > options.minWords) {
                pairSeeds = previousSeeds;
                for (qint32 seed : seeds)
                    if (std::find(pairSeeds.begin(), pairSeeds.end(), seed) == pairSeeds.end())
                        pairSeeds.push_back(seed);
                unitsOf(pairSeeds, index, options.minWords, units);
                // A pair of edited sentences is compared only with single original ones.
                std::erase_if(units, [](const Unit& unit) { return unit.count != 1; });
                const std::span<const qint32> a = sets.stems(j - 1);
                const std::span<const qint32> b = sets.stems(j);
                pairStems.assign(a.begin(), a.end());
                pairStems.insert(pairStems.end(), b.begin(), b.end());
                const double pairWeight = index.makeStemSet(pairStems);
                NearMatch best{0, 1, j - 1, 2, 0};
                if (bestMatch(index, units, pairStems, pairWeight, threshold, best))
                    candidates.push_back(best);
            }
        }
        std::swap(previousSeeds, seeds);
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
