#include "compare/ExplainMatch.h"

#include "check/CheckOptions.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

#include <QStringList>
#include <algorithm>
#include <map>

namespace {

// Ordinal order of UTF-16 code units; a prefix sorts first.
struct CodeUnitLess
{
    bool operator()(const QString& a, const QString& b) const
    {
        return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
    }
};

using StemCounts = std::map<QString, qint32, CodeUnitLess>;

StemCounts countStems(const QStringList& stems)
{
    StemCounts counts;
    for (const QString& stem : stems)
        ++counts[stem];
    return counts;
}

bool orderChanged(const QStringList& original, const QStringList& edited, const CStemDictionary& dictionary,
                  Stemmer& stemmer)
{
    const qsizetype common = std::min(original.size(), edited.size());
    for (qsizetype k = 0; k < common; ++k) {
        // The stored keys are normalised once more before the lookup, as the
        // dictionary numbers stems of stems for keys that are not their own stem.
        if (dictionary.Lookup(NormalizeWord(original.at(k), stemmer)) !=
            dictionary.Lookup(NormalizeWord(edited.at(k), stemmer)))
            return true;
    }
    return false;
}

} // namespace

MatchVerdict AnalyseMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                          const CheckOptions& options, Stemmer& stemmer)
{
    MatchVerdict verdict;
    if (original == edited) {
        verdict.kinds.append(VerdictKind::Identical);
        return verdict;
    }

    QStringList originalStems;
    QStringList editedStems;
    SplitWords(original, originalStems, options);
    SplitWords(edited, editedStems, options);
    for (QString& word : originalStems)
        word = NormalizeWord(word, stemmer);
    for (QString& word : editedStems)
        word = NormalizeWord(word, stemmer);

    const StemCounts originalCounts = countStems(originalStems);
    const StemCounts editedCounts = countStems(editedStems);
    for (const auto& [stem, count] : originalCounts) {
        const auto it = editedCounts.find(stem);
        const qint32 editedCount = it == editedCounts.end() ? 0 : it->second;
        if (editedCount < count)
            verdict.removed.append(stem);
        else if (editedCount > count)
            verdict.added.append(stem);
    }

    if (orderChanged(originalStems, editedStems, dictionary, stemmer))
        verdict.kinds.append(VerdictKind::Order);
    if (!verdict.added.isEmpty())
        verdict.kinds.append(VerdictKind::AddedRepeated);
    if (!verdict.removed.isEmpty())
        verdict.kinds.append(VerdictKind::RemovedRepeated);
    if (verdict.kinds.isEmpty())
        verdict.kinds.append(VerdictKind::Forms);
    return verdict;
}

QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                     const CheckOptions& options, Stemmer& stemmer)
{
    return AnalyseMatch(original, edited, dictionary, options, stemmer).text();
}
