#pragma once

#include "extract/ExtractResult.h"
#include "extract/FilterLoader.h"
#include "extract/IFilter.h"

#include <QString>

// Gets the plain text of a document file through its document filter. Knows nothing
// of formats itself: LoadIFilter picks the filter, and the text is pulled chunk by
// chunk and joined exactly as the filter delivers it.
class CDocToText
{
public:
    // Units of text per GetText call; the buffer holds one more for the terminator.
    static constexpr std::uint32_t kBufferUnits = 4096;
    // Failed filter calls in a row after which the extraction gives up.
    static constexpr int kMaxFailures = 64;
    // Bounds against a filter that never ends.
    static constexpr int kMaxChunks = 1 << 20;
    static constexpr qsizetype kMaxTextUnits = 64 * 1024 * 1024;

    // The document's text, empty on any failure.
    QString GetText(const QString& path);
    // The text, or the reason there is none.
    ExtractResult Extract(const QString& path);
    // The same for a file named by its bytes as the system gives them (a command-line
    // argument), so that a name in a foreign 8-bit encoding still opens.
    ExtractResult ExtractNative(const QByteArray& nativePath);
    // Runs the chunk loop on a loaded filter. An error is named only when no text came.
    static ExtractResult ReadFilter(IFilter& filter);

private:
    static ExtractResult Read(const FilterLoadResult& loaded, IFilter* filter);
};
