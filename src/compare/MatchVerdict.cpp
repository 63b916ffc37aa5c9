#include "compare/MatchVerdict.h"

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

} // namespace

QString VerdictKindName(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Identical:
        return QStringLiteral("identical");
    case VerdictKind::Order:
        return QStringLiteral("order");
    case VerdictKind::AddedRepeated:
        return QStringLiteral("added_repeated");
    case VerdictKind::RemovedRepeated:
        return QStringLiteral("removed_repeated");
    case VerdictKind::Forms:
        return QStringLiteral("forms");
    }
    return {};
}

QString MatchVerdict::text() const
{
    QString verdict;
    for (VerdictKind kind : kinds) {
        switch (kind) {
        case VerdictKind::Identical:
            verdict += Verdict::identical();
            break;
        case VerdictKind::Order:
            verdict += Verdict::order();
            break;
        case VerdictKind::AddedRepeated:
            verdict += Verdict::addedHead() + listStems(added) + Verdict::addedTail();
            break;
        case VerdictKind::RemovedRepeated:
            verdict += Verdict::removedHead() + listStems(removed) + Verdict::removedTail();
            break;
        case VerdictKind::Forms:
            verdict += Verdict::nothingFound();
            break;
        }
    }
    return verdict;
}
