#include "compare/ExplainMatch.h"

#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

#include <QStringList>
#include <algorithm>
#include <map>

namespace Verdict {
QString identical()
{
    return QStringLiteral(u"Фразы одинаковые, следует что-нибудь поменять");
}
QString order()
{
    return QStringLiteral(u"В предложении был изменен порядок слов. Этого не достаточно.\n");
}
QString addedHead()
{
    return QStringLiteral(u"В предложении были добавлены слова (");
}
QString addedTail()
{
    return QStringLiteral(u"), однако они (или их морфологическое видоизменения) уже присутствуют в предложении.\n");
}
QString removedHead()
{
    return QStringLiteral(u"В предложении были удалены слова (");
}
QString removedTail()
{
    return QStringLiteral(u"), однако они (или их морфологическое видоизменения) еще присутствуют в предложении.\n");
}
QString nothingFound()
{
    // Held as Unicode so it reads the same on every system. The first letter of
    // "cуществующих" is the Latin c (U+0063), as the users have always seen it.
    return QStringLiteral(u"Следует удалить либо добавить какое нибудь новое слово (изменение морфологии "
                          u"c\u0443ществующих слов недостаточно)");
}
} // namespace Verdict

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

QString listStems(const QStringList& stems)
{
    QString text;
    for (qsizetype i = 0; i < stems.size(); ++i) {
        if (i > 0)
            text += QChar(u',');
        text += QChar(u'\'') + stems.at(i) + QChar(u'\'');
    }
    return text;
}

bool orderChanged(const QStringList& original, const QStringList& edited, const CStemDictionary& dictionary)
{
    const qsizetype common = std::min(original.size(), edited.size());
    for (qsizetype k = 0; k < common; ++k) {
        // The stored keys are normalised once more before the lookup, as the
        // dictionary numbers stems of stems for keys that are not their own stem.
        if (dictionary.Lookup(NormalizeWord(original.at(k))) != dictionary.Lookup(NormalizeWord(edited.at(k))))
            return true;
    }
    return false;
}

} // namespace

QString ExplainMatch(const QString& original, const QString& edited, const CStemDictionary& dictionary)
{
    if (original == edited)
        return Verdict::identical();

    QStringList originalStems;
    QStringList editedStems;
    SplitWords(original, originalStems);
    SplitWords(edited, editedStems);
    for (QString& word : originalStems)
        word = NormalizeWord(word);
    for (QString& word : editedStems)
        word = NormalizeWord(word);

    const bool reordered = orderChanged(originalStems, editedStems, dictionary);

    const StemCounts originalCounts = countStems(originalStems);
    const StemCounts editedCounts = countStems(editedStems);
    QStringList added;
    QStringList removed;
    for (const auto& [stem, count] : originalCounts) {
        const auto it = editedCounts.find(stem);
        const qint32 editedCount = it == editedCounts.end() ? 0 : it->second;
        if (editedCount < count)
            removed.append(stem);
        else if (editedCount > count)
            added.append(stem);
    }

    QString verdict;
    if (reordered)
        verdict += Verdict::order();
    if (!added.isEmpty())
        verdict += Verdict::addedHead() + listStems(added) + Verdict::addedTail();
    if (!removed.isEmpty())
        verdict += Verdict::removedHead() + listStems(removed) + Verdict::removedTail();
    if (verdict.isEmpty())
        verdict = Verdict::nothingFound();
    return verdict;
}
