#include "compare/NearOriginality.h"

double CopyOriginality(std::span<const qint32> wordCounts, std::span<const qint32> exactEdited,
                       std::span<const NearMatch> nearMatches)
{
    const qint32 count = qint32(wordCounts.size());
    std::vector<bool> matched(wordCounts.size(), false);
    const auto mark = [&](qint32 i) {
        if (i >= 0 && i < count)
            matched[size_t(i)] = true;
    };
    for (qint32 i : exactEdited)
        mark(i);
    for (const NearMatch& match : nearMatches)
        for (qint32 i = match.editedFirst; i < match.editedFirst + match.editedCount; ++i)
            mark(i);

    qint64 total = 0;
    qint64 original = 0;
    for (qint32 i = 0; i < count; ++i) {
        const qint64 words = wordCounts[size_t(i)];
        total += words;
        if (!matched[size_t(i)])
            original += words;
    }
    return total > 0 ? double(original) / double(total) : 1.0;
}

std::vector<qint32> WordCounts(std::span<const NearSentence> sentences)
{
    std::vector<qint32> counts;
    counts.reserve(sentences.size());
    for (const NearSentence& sentence : sentences)
        counts.push_back(qint32(sentence.words.size()));
    return counts;
}
