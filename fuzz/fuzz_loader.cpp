#include "extract/CDocToText.h"
#include "extract/FilterLoader.h"

#include <cstddef>
#include <cstdint>

// The whole road of a file: format recognition by content, the chosen reader, and the
// chunk loop over its filter.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<IFilter> filter;
    FilterLoader::LoadBytes(bytes, QStringLiteral("input.doc"), filter);
    if (filter)
        CDocToText::ReadFilter(*filter);
    return 0;
}
