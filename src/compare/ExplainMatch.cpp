#include "compare/ExplainMatch.h"

#include "phrases/CStemDictionary.h"
#include "phrases/SplitOptions.h"
#include "phrases/TextOps.h"
#include "phrases/TextWords.h"

#include <QStringList>
#include <QVarLengthArray>
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

bool codeUnitLess(QStringView a, QStringView b)
{
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
}

// The verdict's kinds from what was found.
void finish(MatchVerdict& verdict, bool orderChanged)
{
    if (orderChanged)
        verdict.kinds.append(VerdictKind::Order);
    if (!verdict.added.isEmpty())
        verdict.kinds.append(VerdictKind::AddedRepeated);
    if (!verdict.removed.isEmpty())
        verdict.kinds.append(VerdictKind::RemovedRepeated);
    if (verdict.kinds.isEmpty())
        verdict.kinds.append(VerdictKind::Forms);
}

} // namespace

MatchVerdict AnalyseMatch(std::span<const qint32> originalForms, std::span<const qint32> editedForms, bool identical,
                          const CStemDictionary& dictionary, WordForms& forms)
{
    MatchVerdict verdict;
    if (identical) {
        verdict.kinds.append(VerdictKind::Identical);
        return verdict;
    }
    // Equal forms have equal stems: stems are looked up only where the forms differ.
    bool changed = false;
    const size_t common = std::min(originalForms.size(), editedForms.size());
    for (size_t k = 0; k < common && !changed; ++k) {
        if (originalForms[k] == editedForms[k])
            continue;
        const qint32 originalStem = forms.stemOf(originalForms[k]);
        const qint32 editedStem = forms.stemOf(editedForms[k]);
        if (originalStem == editedStem)
            continue;
        // The stored keys are normalised once more before the lookup, as the
        // dictionary numbers stems of stems for keys that are not their own stem.
        const qint32 x = forms.restemOf(originalStem);
        const qint32 y = forms.restemOf(editedStem);
        const auto number = [&](qint32 stem) {
            return dictionary.Shares(forms) ? dictionary.LookupStem(stem) : dictionary.Lookup(forms.stems().at(stem));
        };
        changed = x != y && number(x) != number(y);
    }

    // Occurrences of each stem on both sides, by merging the sorted lists (of forms,
    // then of their stems). The same forms (most matches) give the same stems: nothing
    // added or removed.
    QVarLengthArray<qint32, 64> originalSorted(originalForms.begin(), originalForms.end());
    QVarLengthArray<qint32, 64> editedSorted(editedForms.begin(), editedForms.end());
    std::sort(originalSorted.begin(), originalSorted.end());
    std::sort(editedSorted.begin(), editedSorted.end());
    if (originalSorted == editedSorted) {
        finish(verdict, changed);
        return verdict;
    }
    for (qint32& stem : originalSorted)
        stem = forms.stemOf(stem);
    for (qint32& stem : editedSorted)
        stem = forms.stemOf(stem);
    std::sort(originalSorted.begin(), originalSorted.end());
    std::sort(editedSorted.begin(), editedSorted.end());
    QVarLengthArray<QStringView, 16> added;
    QVarLengthArray<QStringView, 16> removed;
    for (qsizetype i = 0, j = 0; i < originalSorted.size();) {
        const qint32 stem = originalSorted[i];
        qsizetype count = 0;
        for (; i < originalSorted.size() && originalSorted[i] == stem; ++i)
            ++count;
        while (j < editedSorted.size() && editedSorted[j] < stem)
            ++j;
        qsizetype editedCount = 0;
        for (; j < editedSorted.size() && editedSorted[j] == stem; ++j)
            ++editedCount;
        if (editedCount < count)
            removed.append(forms.stems().at(stem));
        else if (editedCount > count)
            added.append(forms.stems().at(stem));
    }
    std::sort(added.begin(), added.end(), codeUnitLess);
    std::sort(removed.begin(), removed.end(), codeUnitLess);
    for (const QStringView stem : added)
        verdict.added.append(stem.toString());
    for (const QStringView stem : removed)
        verdict.removed.append(stem.toString());
    finish(verdict, changed);
    return verdict;
}

MatchVerdict AnalyseMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                          const SplitOptions& options, Stemmer& stemmer)
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

    finish(verdict, orderChanged(originalStems, editedStems, dictionary, stemmer));
    return verdict;
}

QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary,
                     const SplitOptions& options, Stemmer& stemmer)
{
    return AnalyseMatch(original, edited, dictionary, options, stemmer).text();
}
