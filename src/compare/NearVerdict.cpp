#include "compare/NearVerdict.h"

#include "compare/NearMatch.h"

namespace {

QString quoted(const QString& word)
{
    return QChar(u'«') + word + QChar(u'»');
}

// "«a», «b» и ещё 3" for a list longer than the limit.
template <typename Item, typename Write> QString listed(const QList<Item>& items, Write write)
{
    QString text;
    const qsizetype shown = std::min(items.size(), kNearVerdictListLimit);
    for (qsizetype i = 0; i < shown; ++i) {
        if (i > 0)
            text += QStringLiteral(u", ");
        text += write(items.at(i));
    }
    if (items.size() > shown)
        text += QStringLiteral(u" и ещё %1").arg(items.size() - shown);
    return text;
}

} // namespace

QString NearVerdict(const NearExplanation& explanation)
{
    QString verdict = QStringLiteral(u"Совпадает %1% слов.").arg(NearPercent(explanation.similarity));
    if (explanation.editedCount > explanation.originalCount)
        verdict += QStringLiteral(u" Предложение разделено на два.");
    else if (explanation.originalCount > explanation.editedCount)
        verdict += QStringLiteral(u" Два предложения объединены в одно.");
    if (!explanation.removed.isEmpty())
        verdict += QStringLiteral(u" Удалено: ") + listed(explanation.removed, quoted) + QChar(u'.');
    if (!explanation.added.isEmpty())
        verdict += QStringLiteral(u" Добавлено: ") + listed(explanation.added, quoted) + QChar(u'.');
    if (!explanation.changedForms.isEmpty()) {
        verdict += explanation.changedForms.size() == 1 ? QStringLiteral(u" Изменена форма: ")
                                                        : QStringLiteral(u" Изменены формы: ");
        verdict += listed(explanation.changedForms, [](const NearExplanation::FormChange& change) {
            return quoted(change.original) + QStringLiteral(u" → ") + quoted(change.edited);
        });
        verdict += QChar(u'.');
    }
    const auto pairs = [](const NearExplanation::FormChange& change) {
        return quoted(change.original) + QStringLiteral(u" → ") + quoted(change.edited);
    };
    if (!explanation.synonyms.isEmpty())
        verdict += QStringLiteral(u" Заменены синонимы: ") + listed(explanation.synonyms, pairs) + QChar(u'.');
    if (!explanation.family.isEmpty())
        verdict += QStringLiteral(u" Однокоренные слова: ") + listed(explanation.family, pairs) + QChar(u'.');
    if (explanation.reordered)
        verdict += QStringLiteral(u" Изменён порядок слов.");
    verdict += QStringLiteral(u" Замените больше слов или перестройте предложение.");
    return verdict;
}
