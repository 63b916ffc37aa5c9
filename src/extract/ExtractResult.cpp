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
