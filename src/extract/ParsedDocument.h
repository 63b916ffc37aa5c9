#pragma once

#include "extract/ExtractResult.h"

#include <QStringList>

// What a format reader makes of a document: the text of each story (main text,
// footnotes, endnotes...) in reading order, or the reason it has none.
struct ParsedDocument
{
    QStringList stories;
    ExtractError error = ExtractError::None;
    QString detail;

    static ParsedDocument Failure(ExtractError error, const QString& detail = {})
    {
        ParsedDocument doc;
        doc.error = error;
        doc.detail = detail;
        return doc;
    }
};
