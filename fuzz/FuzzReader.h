#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Runs one reader on the fuzzer's bytes. Whatever the input, the reader must return;
// a failure must come with no text.
template <typename Reader> int FuzzReader(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedDocument doc = Reader::Read(bytes);
    if (doc.error != ExtractError::None && doc.error != ExtractError::PasswordProtected && !doc.stories.isEmpty())
        __builtin_trap();
    return 0;
}
