#include "extract/ExtractResult.h"

QString DescribeExtractError(ExtractError error)
{
    switch (error) {
    case ExtractError::None:
        return {};
    case ExtractError::FileMissing:
        return QStringLiteral(u"файл не найден");
    case ExtractError::PathTooLong:
        return QStringLiteral(u"путь к файлу слишком длинный");
    case ExtractError::NoPermission:
        return QStringLiteral(u"нет прав на чтение файла");
    case ExtractError::IsFolder:
        return QStringLiteral(u"это папка, а не файл");
    case ExtractError::NotRegularFile:
        return QStringLiteral(u"это не обычный файл, а канал или устройство");
    case ExtractError::LinkLoop:
        return QStringLiteral(u"ссылки на файл ведут по кругу");
    case ExtractError::FolderDenied:
        return QStringLiteral(u"нет доступа к папке, в которой лежит файл");
    case ExtractError::UnknownFormat:
        return QStringLiteral(u"формат файла не поддерживается");
    case ExtractError::PasswordProtected:
        return QStringLiteral(u"документ защищён паролем");
    case ExtractError::Damaged:
        return QStringLiteral(u"файл повреждён");
    case ExtractError::TooLarge:
        return QStringLiteral(u"файл слишком большой");
    case ExtractError::NoText:
        return QStringLiteral(u"в документе нет текста");
    }
    return {};
}

QString ExtractResult::reason() const
{
    QString description = DescribeExtractError(error);
    if (!detail.isEmpty() && error != ExtractError::None)
        description += QStringLiteral(u" (") + detail + QChar(u')');
    return description;
}

QString EscapeControlCharacters(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            escaped += QStringLiteral("\\n");
        else if (u == u'\r')
            escaped += QStringLiteral("\\r");
        else if (u == u'\t')
            escaped += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            escaped += QStringLiteral("\\x%1").arg(int(u), 2, 16, QChar(u'0'));
        else if (u == 0x2028 || u == 0x2029)
            escaped += QStringLiteral("\\u%1").arg(int(u), 4, 16, QChar(u'0'));
        else
            escaped += c;
    }
    return escaped;
}
