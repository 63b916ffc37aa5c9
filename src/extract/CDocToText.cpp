#include "extract/CDocToText.h"

#include "extract/PlainTextReader.h"

QString CDocToText::GetText(const QString& path)
{
    return Extract(path).text;
}

ExtractResult CDocToText::Extract(const QString& path)
{
    return PlainTextReader::ReadFile(path);
}
