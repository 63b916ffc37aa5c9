#include "extract/ExtractResult.h"

QString DescribeExtractError(ExtractError error)
{
    switch (error) {
    case ExtractError::None:
        return {};
    case ExtractError::FileMissing:
        return QStringLiteral(u"файл не найден");
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
