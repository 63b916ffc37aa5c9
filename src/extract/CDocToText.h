#pragma once

#include "extract/ExtractResult.h"

#include <QString>

// Gets the plain text of a document file. Knows nothing of formats itself; the
// document readers behind it decide how a file is read.
class CDocToText
{
public:
    // The document's text, empty on any failure.
    QString GetText(const QString& path);
    // The text, or the reason there is none.
    ExtractResult Extract(const QString& path);
};
