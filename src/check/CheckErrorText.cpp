#include "check/CheckErrorText.h"

#include "check/CheckCommand.h"

#include <QDir>

namespace {

QString firstSentence()
{
    return QStringLiteral(u"Механизм извлечения текста не работает.");
}

// The line on one unreadable document; unknown tells that the reader gave no reason.
QString unreadableLine(const QString& path, const ExtractResult& result, bool& unknown)
{
    QString reason = result.reason();
    if (reason.isEmpty()) {
        unknown = true;
        reason = DescribeExtractError(ExtractError::NoText);
    }
    return QStringLiteral(u"Не удалось прочитать «%1»: %2.")
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
    return CheckSourcesErrorText(outcome, QStringList{originalPath}, editedPath, style);
}

QString CheckSourcesErrorText(const CheckOutcome& outcome, const QStringList& sourcePaths, const QString& editedPath,
                              CheckErrorStyle style)
{
    const bool originalEmpty = outcome.original.text.isEmpty();
    const bool editedEmpty = outcome.edited.text.isEmpty();
    if (!originalEmpty && !editedEmpty)
        return {};
    if (style == CheckErrorStyle::IndexingServiceHint)
        return firstSentence() + QStringLiteral(u" Возможно не запущена Служба индексирования Windows.");
    // The reason first: the general sentence only where the reader did not say why.
    bool unknown = false;
    QStringList lines;
    if (!outcome.sources.unread.isEmpty()) {
        for (const SourceAttribution::Unread& unread : outcome.sources.unread)
            lines << unreadableLine(sourcePaths.value(unread.source), unread.result, unknown);
    } else if (originalEmpty && sourcePaths.size() > 1) {
        lines << QStringLiteral(u"Оригиналы вместе слишком велики: больше %1 млн знаков.")
                     .arg(SourceCheck::MaxJoinedUnits / (1024 * 1024));
    } else if (originalEmpty) {
        lines << unreadableLine(sourcePaths.value(0), outcome.original, unknown);
    }
    if (editedEmpty)
        lines << unreadableLine(editedPath, outcome.edited, unknown);
    if (unknown)
        lines.prepend(firstSentence());
    return lines.join(QChar(u'\n'));
}
