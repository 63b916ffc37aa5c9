#include "compare/NearExplanation.h"

#include "phrases/TextOps.h"

#include <algorithm>
#include <vector>

namespace {

// One word of a unit: its stem, its place in the unit's word order, and where it stands.
struct UnitWord
{
    qint32 stem;
    qint32 position;
    qint32 sentence;
    const NearSentence::Word* word;
};

class Side
{
public:
    explicit Side(std::span<const NearSentence> unit) : m_unit(unit)
    {
        for (qsizetype s = 0; s < qsizetype(unit.size()); ++s)
            for (const NearSentence::Word& word : unit[size_t(s)].words)
                m_words.push_back({word.stem, qint32(m_words.size()), qint32(s), &word});
        m_byStem = m_words;
        std::stable_sort(m_byStem.begin(), m_byStem.end(),
                         [](const UnitWord& a, const UnitWord& b) { return a.stem < b.stem; });
        for (const UnitWord& w : m_byStem)
            if (m_stems.empty() || m_stems.back() != w.stem)
                m_stems.push_back(w.stem);
    }

    bool holds(qint32 stem) const { return std::binary_search(m_stems.begin(), m_stems.end(), stem); }
    QString text(const UnitWord& w) const { return m_unit[size_t(w.sentence)].text.mid(w.word->start, w.word->length); }
    const std::vector<UnitWord>& words() const { return m_words; }

    // The words of one stem, in word order.
    std::span<const UnitWord> occurrences(qint32 stem) const
    {
        const auto less = [](const UnitWord& w, qint32 s) { return w.stem < s; };
        const auto begin = std::lower_bound(m_byStem.begin(), m_byStem.end(), stem, less);
        auto end = begin;
        while (end != m_byStem.end() && end->stem == stem)
            ++end;
        return {begin, end};
    }

    // The first word of each stem the other side lacks, in word order.
    QStringList unmatched(const Side& other) const
    {
        std::vector<UnitWord> firsts;
        for (size_t i = 0; i < m_byStem.size(); ++i)
            if ((i == 0 || m_byStem[i - 1].stem != m_byStem[i].stem) && !other.holds(m_byStem[i].stem))
                firsts.push_back(m_byStem[i]);
        std::sort(firsts.begin(), firsts.end(),
                  [](const UnitWord& a, const UnitWord& b) { return a.position < b.position; });
        QStringList list;
        for (const UnitWord& w : firsts)
            list.append(text(w));
        return list;
    }

    QList<NearExplanation::Range> shared(const Side& other) const
    {
        QList<NearExplanation::Range> ranges;
        for (const UnitWord& w : m_words)
            if (other.holds(w.stem))
                ranges.append({w.sentence, w.word->start, w.word->length});
        return ranges;
    }

    // The shared stems ordered by their first word here.
    std::vector<qint32> sharedOrder(const Side& other) const
    {
        std::vector<UnitWord> firsts;
        for (size_t i = 0; i < m_byStem.size(); ++i)
            if ((i == 0 || m_byStem[i - 1].stem != m_byStem[i].stem) && other.holds(m_byStem[i].stem))
                firsts.push_back(m_byStem[i]);
        std::sort(firsts.begin(), firsts.end(),
                  [](const UnitWord& a, const UnitWord& b) { return a.position < b.position; });
        std::vector<qint32> order;
        for (const UnitWord& w : firsts)
            order.push_back(w.stem);
        return order;
    }

private:
    std::span<const NearSentence> m_unit;
    std::vector<UnitWord> m_words;
    std::vector<UnitWord> m_byStem; // stable: each stem's words stay in word order
    std::vector<qint32> m_stems;    // sorted, distinct
};

// The form a word is compared by: lower case, ё read as е.
QString formKey(const QString& word)
{
    QString key = LowerCaseWord(word);
    key.replace(QChar(u'ё'), QChar(u'е'));
    return key;
}

QStringList formKeys(const Side& side, std::span<const UnitWord> words)
{
    QStringList keys;
    for (const UnitWord& w : words)
        keys.append(formKey(side.text(w)));
    keys.sort();
    return keys;
}

bool shareAForm(const QStringList& a, const QStringList& b)
{
    // Both sorted: one merge pass.
    for (qsizetype i = 0, j = 0; i < a.size() && j < b.size();) {
        const int order = a.at(i).compare(b.at(j));
        if (order == 0)
            return true;
        order < 0 ? ++i : ++j;
    }
    return false;
}

QList<NearExplanation::FormChange> changedForms(const Side& original, const Side& edited,
                                                const std::vector<qint32>& sharedStems)
{
    QList<NearExplanation::FormChange> changes;
    for (qint32 stem : sharedStems) {
        const std::span<const UnitWord> o = original.occurrences(stem);
        const std::span<const UnitWord> e = edited.occurrences(stem);
        if (!shareAForm(formKeys(original, o), formKeys(edited, e)))
            changes.append({original.text(o.front()), edited.text(e.front())});
    }
    return changes;
}

} // namespace

NearExplanation ExplainNear(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                            double similarity)
{
    NearExplanation explanation;
    explanation.similarity = similarity;
    explanation.originalCount = qint32(original.size());
    explanation.editedCount = qint32(edited.size());

    const Side originalSide(original);
    const Side editedSide(edited);
    explanation.removed = originalSide.unmatched(editedSide);
    explanation.added = editedSide.unmatched(originalSide);
    const std::vector<qint32> sharedStems = originalSide.sharedOrder(editedSide);
    explanation.changedForms = changedForms(originalSide, editedSide, sharedStems);
    explanation.reordered = sharedStems != editedSide.sharedOrder(originalSide);
    explanation.originalShared = originalSide.shared(editedSide);
    explanation.editedShared = editedSide.shared(originalSide);
    return explanation;
}
