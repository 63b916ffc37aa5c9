#include "extract/GuardedXmlReader.h"

#include <cstddef>
#include <cstdint>

// The guarded XML reader on raw bytes, as the package readers give it each part: the
// tag scan and Qt's reader must agree and end, whatever the encoding and markup.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    GuardedXmlReader reader(bytes, 64);
    QString why;
    int tokens = 0;
    while (reader.Next(why))
        ++tokens;
    return tokens < 0;
}
