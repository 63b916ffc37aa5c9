#include "check/TrickWarnings.h"

#include "check/CheckCommand.h"

namespace {

// "слово", "слова" or "слов", as the number asks.
QString words(qsizetype count)
{
    const qsizetype lastTwo = count % 100;
    const qsizetype last = count % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return QStringLiteral(u"слов");
    if (last == 1)
        return QStringLiteral(u"слово");
    if (last >= 2 && last <= 4)
        return QStringLiteral(u"слова");
    return QStringLiteral(u"слов");
}

QString example(const TrickFinding& finding)
{
    if (finding.samples.isEmpty())
        return {};
    return QStringLiteral(u" (например, «%1»)").arg(finding.samples.first());
}

} // namespace

namespace TrickWarnings {

QString Heading(bool edited)
{
    return edited ? QStringLiteral(u"Подозрительные приёмы в изменённой копии:")
                  : QStringLiteral(u"Подозрительные приёмы в оригинале:");
}

QString Line(const TrickFinding& finding)
{
    const QString count = QString::number(finding.count) + QChar(u' ') + words(finding.count);
    switch (finding.kind) {
    case TrickKind::MixedLetters:
        return count + QStringLiteral(u" с латинскими буквами вместо русских") + example(finding);
    case TrickKind::Invisible:
        return count + QStringLiteral(u" с невидимыми символами внутри") + example(finding);
    case TrickKind::OddSpaces:
        return count + QStringLiteral(u" с необычными пробелами вместо обычных") + example(finding);
    case TrickKind::HiddenText:
        return QStringLiteral(u"скрытый текст: ") + count + QStringLiteral(u" (невидимый, белый или крошечный шрифт)");
    }
    return {};
}

QString Closing()
{
    return QStringLiteral(u"Сервисы проверки распознают эти приёмы и помечают документ как подозрительный.");
}

QString Block(const CheckOutcome& outcome)
{
    QString block;
    for (const bool edited : {true, false}) {
        const QList<TrickFinding>& findings =
            edited ? outcome.editedReading.findings() : outcome.originalReading.findings();
        if (findings.isEmpty())
            continue;
        block += Heading(edited) + QChar(u'\n');
        for (const TrickFinding& finding : findings)
            block += QStringLiteral("  ") + Line(finding) + QChar(u'\n');
        block += Closing() + QChar(u'\n');
    }
    return block;
}

QString SeenThrough()
{
    return QStringLiteral(u"Заменённые буквы и невидимые символы не скрывают это совпадение от сервисов проверки.");
}

} // namespace TrickWarnings
