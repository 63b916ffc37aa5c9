#pragma once

#include "extract/DocumentFormat.h"
#include "extract/ExtractResult.h"
#include "extract/IFilter.h"
#include "extract/ParsedDocument.h"

#include <memory>

// The outcome of loading a filter: a status code, and for failures the reason.
struct FilterLoadResult
{
    FilterStatus::Code code = FilterStatus::Ok;
    ExtractError error = ExtractError::None;
    QString detail;
};

// Finds the filter for a document file: reads the file (bounded), recognises its
// format by content then by extension, and lets that format's reader parse it.
class FilterLoader
{
public:
    static FilterLoadResult Load(const QString& path, std::unique_ptr<IFilter>& filter);
    // The same for a file named as the system spells it (see DocumentFile).
    static FilterLoadResult LoadNative(const QByteArray& nativePath, std::unique_ptr<IFilter>& filter);
    // Parses bytes already in memory; fileName only serves the extension fallback.
    static FilterLoadResult LoadBytes(const QByteArray& bytes, const QString& fileName,
                                      std::unique_ptr<IFilter>& filter);
    // The reader for one format applied to bytes in memory.
    static ParsedDocument Parse(DocumentFormat format, const QByteArray& bytes);
};

// Loads the filter for path into filter. Fails with a code and reason when the file
// is missing, unreadable, of no known format or damaged.
FilterLoadResult LoadIFilter(const QString& path, std::unique_ptr<IFilter>& filter);
