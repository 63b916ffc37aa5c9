#include "compare/NearExplanation.h"

#include "phrases/TextOps.h"

#include <QHash>
#include <QSet>

namespace {

struct UnitWord
{
    qint32 sentence;
    const NearSentence::Word* word;
    QString text;
};

// The words of a unit in order, with their text.
QList<UnitWord> wordsOf(std::span<const NearSentence> unit)
{
    QList<UnitWord> words;
    for (qsizetype s = 0; s < qsizetype(unit.size()); ++s) {
        const NearSentence& sentence = unit[size_t(s)];
        for (const NearSentence::Word& word : sentence.words)
            words.append({qint32(s), &word, sentence.text.mid(word.start, word.length)});
    }
    return words;
}

QSet<qint32> stemsOf(const QList<UnitWord>& words)
{
    QSet<qint32> stems;
    for (const UnitWord& w : words)
        stems.insert(w.word->stem);
    return stems;
}

// The form a word is compared by: lower case, ё read as е.
QString formKey(const QString& word)
{
    QString key = LowerCaseWord(word);
    key.replace(QChar(u'ё'), QChar(u'е'));
    return key;
}

// Words of one side whose stem the other side lacks, one per stem, in order.
QStringList unmatched(const QList<UnitWord>& words, const QSet<qint32>& otherStems)
{
    QStringList list;
    QSet<qint32> listed;
    for (const UnitWord& w : words)
        if (!otherStems.contains(w.word->stem) && !listed.contains(w.word->stem)) {
            listed.insert(w.word->stem);
            list.append(w.text);
        }
    return list;
}

QList<NearExplanation::Range> shared(const QList<UnitWord>& words, const QSet<qint32>& otherStems)
{
    QList<NearExplanation::Range> ranges;
    for (const UnitWord& w : words)
        if (otherStems.contains(w.word->stem))
            ranges.append({w.sentence, w.word->start, w.word->length});
    return ranges;
}

// The shared stems in order of first appearance.
QList<qint32> sharedOrder(const QList<UnitWord>& words, const QSet<qint32>& otherStems)
{
    QList<qint32> order;
    QSet<qint32> seen;
    for (const UnitWord& w : words)
        if (otherStems.contains(w.word->stem) && !seen.contains(w.word->stem)) {
            seen.insert(w.word->stem);
            order.append(w.word->stem);
        }
    return order;
}

QList<NearExplanation::FormChange> changedForms(const QList<UnitWord>& original, const QList<UnitWord>& edited,
                                                const QList<qint32>& sharedStems)
{
    // Per shared stem: its first word on each side and every form on the edited side.
    QHash<qint32, QString> firstEdited;
    QHash<qint32, QSet<QString>> editedForms;
    for (const UnitWord& w : edited) {
        if (!firstEdited.contains(w.word->stem))
            firstEdited.insert(w.word->stem, w.text);
        editedForms[w.word->stem].insert(formKey(w.text));
    }
    QHash<qint32, QString> firstOriginal;
    QHash<qint32, bool> keptForm;
    for (const UnitWord& w : original) {
        if (!firstOriginal.contains(w.word->stem))
            firstOriginal.insert(w.word->stem, w.text);
        if (editedForms.value(w.word->stem).contains(formKey(w.text)))
            keptForm[w.word->stem] = true;
    }
    QList<NearExplanation::FormChange> changes;
    for (qint32 stem : sharedStems)
        if (!keptForm.value(stem))
            changes.append({firstOriginal.value(stem), firstEdited.value(stem)});
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

    const QList<UnitWord> originalWords = wordsOf(original);
    const QList<UnitWord> editedWords = wordsOf(edited);
    const QSet<qint32> originalStems = stemsOf(originalWords);
    const QSet<qint32> editedStems = stemsOf(editedWords);

    explanation.removed = unmatched(originalWords, editedStems);
    explanation.added = unmatched(editedWords, originalStems);
    const QList<qint32> originalOrder = sharedOrder(originalWords, editedStems);
    explanation.changedForms = changedForms(originalWords, editedWords, originalOrder);
    explanation.reordered = originalOrder != sharedOrder(editedWords, originalStems);
    explanation.originalShared = shared(originalWords, editedStems);
    explanation.editedShared = shared(editedWords, originalStems);
    return explanation;
}
