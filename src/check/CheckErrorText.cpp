#include "check/CheckErrorText.h"

#include "check/CheckCommand.h"

#include <QDir>

namespace {

QString firstSentence()
{
    return QStringLiteral(u"Механизм извлечения текста не работает.");
}

QString unreadableLine(const QString& path, const ExtractResult& result)
{
    QString reason = result.reason();
    if (reason.isEmpty())
        reason = DescribeExtractError(ExtractError::NoText);
    return QStringLiteral(u"\nНе удалось прочитать «%1»: %2.")
        .arg(EscapeControlCharacters(QDir::toNativeSeparators(path)), reason);
}

} // namespace

QString CheckErrorCaption()
{
    return QStringLiteral(u"Ошибка");
}

QString CheckErrorText(const CheckOutcome& outcome, const QString& originalPath, const QString& editedPath,
                       CheckErrorStyle style)
{
    const bool originalEmpty = outcome.original.text.isEmpty();
    const bool editedEmpty = outcome.edited.text.isEmpty();
    if (!originalEmpty && !editedEmpty)
        return {};
    if (style == CheckErrorStyle::IndexingServiceHint)
        return firstSentence() + QStringLiteral(u" Возможно не запущена Служба индексирования Windows.");
    QString text = firstSentence();
    if (originalEmpty)
        text += unreadableLine(originalPath, outcome.original);
    if (editedEmpty)
        text += unreadableLine(editedPath, outcome.edited);
    return text;
}
