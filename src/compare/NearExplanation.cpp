#include "compare/NearExplanation.h"

#include "compare/NearRelations.h"

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
        m_first.assign(m_words.size(), false);
        for (const UnitWord& w : m_byStem)
            if (m_stems.empty() || m_stems.back() != w.stem) {
                m_stems.push_back(w.stem);
                m_first[size_t(w.position)] = true;
            }
    }

    bool holds(qint32 stem) const { return std::binary_search(m_stems.begin(), m_stems.end(), stem); }
    QStringView view(const UnitWord& w) const
    {
        return QStringView(m_unit[size_t(w.sentence)].text).sliced(w.word->start, w.word->length);
    }
    QString text(const UnitWord& w) const { return view(w).toString(); }
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
    std::vector<UnitWord> unmatched(const Side& other) const
    {
        std::vector<UnitWord> list;
        for (const UnitWord& w : m_words)
            if (m_first[size_t(w.position)] && !other.holds(w.stem))
                list.push_back(w);
        return list;
    }

    QList<NearExplanation::Range> ranges(qint32 stem) const
    {
        QList<NearExplanation::Range> list;
        for (const UnitWord& w : occurrences(stem))
            list.append({w.sentence, w.word->start, w.word->length});
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
        std::vector<qint32> order;
        for (const UnitWord& w : m_words)
            if (m_first[size_t(w.position)] && other.holds(w.stem))
                order.push_back(w.stem);
        return order;
    }

private:
    std::span<const NearSentence> m_unit;
    std::vector<UnitWord> m_words;
    std::vector<UnitWord> m_byStem; // stable: each stem's words stay in word order
    std::vector<qint32> m_stems;    // sorted, distinct
    std::vector<bool> m_first;      // by position: the first word of its stem
};

// A character as forms are compared: lower case, ё read as е.
char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    if (c >= u'А' && c <= u'Я')
        return char16_t(c + 0x20);
    if (c >= u'а' && c <= u'я')
        return c;
    if (c == u'ё' || c == u'Ё')
        return u'е';
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toLower(char32_t(c)));
}

bool sameForm(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (folded(a[i].unicode()) != folded(b[i].unicode()))
            return false;
    return true;
}

QString formKey(QStringView word)
{
    QString key(word.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < word.size(); ++i)
        key[i] = QChar(folded(word[i].unicode()));
    return key;
}

// Whether some word of one side is written, up to case and ё, like some word of the
// other. Pairs are compared directly while few; many occurrences are sorted instead.
bool shareAForm(const Side& original, std::span<const UnitWord> o, const Side& edited, std::span<const UnitWord> e)
{
    if (o.size() * e.size() <= 64) {
        for (const UnitWord& a : o)
            for (const UnitWord& b : e)
                if (sameForm(original.view(a), edited.view(b)))
                    return true;
        return false;
    }
    QStringList keysO;
    QStringList keysE;
    for (const UnitWord& a : o)
        keysO.append(formKey(original.view(a)));
    for (const UnitWord& b : e)
        keysE.append(formKey(edited.view(b)));
    keysO.sort();
    keysE.sort();
    for (qsizetype i = 0, j = 0; i < keysO.size() && j < keysE.size();) {
        const int order = keysO.at(i).compare(keysE.at(j));
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
        if (!shareAForm(original, o, edited, e))
            changes.append({original.text(o.front()), edited.text(e.front())});
    }
    return changes;
}

} // namespace

NearExplanation ExplainNear(std::span<const NearSentence> original, std::span<const NearSentence> edited,
                            double similarity, const NearRelations* relations)
{
    NearExplanation explanation;
    explanation.similarity = similarity;
    explanation.originalCount = qint32(original.size());
    explanation.editedCount = qint32(edited.size());

    const Side originalSide(original);
    const Side editedSide(edited);
    std::vector<UnitWord> removed = originalSide.unmatched(editedSide);
    std::vector<UnitWord> added = editedSide.unmatched(originalSide);
    // Each added stem stands for at least one removed stem related to it, in the
    // edited unit's word order, as the search counts them.
    if (relations) {
        for (auto e = added.begin(); e != added.end();) {
            NearRelations::Kind kind = NearRelations::Kind::Synonym;
            auto o = removed.end();
            for (const NearRelations::Link& link : relations->of(e->stem)) {
                o = std::find_if(removed.begin(), removed.end(),
                                 [&link](const UnitWord& w) { return w.stem == link.stem; });
                if (o != removed.end()) {
                    kind = link.kind;
                    break;
                }
            }
            if (o == removed.end()) {
                ++e;
                continue;
            }
            (kind == NearRelations::Kind::Synonym ? explanation.synonyms : explanation.family)
                .append({originalSide.text(*o), editedSide.text(*e)});
            explanation.originalRelated += originalSide.ranges(o->stem);
            explanation.editedRelated += editedSide.ranges(e->stem);
            removed.erase(o);
            e = added.erase(e);
        }
    }
    for (const UnitWord& w : removed)
        explanation.removed.append(originalSide.text(w));
    for (const UnitWord& w : added)
        explanation.added.append(editedSide.text(w));
    const std::vector<qint32> sharedStems = originalSide.sharedOrder(editedSide);
    explanation.changedForms = changedForms(originalSide, editedSide, sharedStems);
    explanation.reordered = sharedStems != editedSide.sharedOrder(originalSide);
    explanation.originalShared = originalSide.shared(editedSide);
    explanation.editedShared = editedSide.shared(originalSide);
    return explanation;
}
