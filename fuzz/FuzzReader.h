#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Runs one reader on the fuzzer's bytes. Whatever the input, the reader must return;
// a failure must come with no text, and hidden runs lie in their story, in order.
template <typename Reader> int FuzzReader(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedDocument doc = Reader::Read(bytes);
    if (doc.error != ExtractError::None && doc.error != ExtractError::PasswordProtected && !doc.stories.isEmpty())
        __builtin_trap();
    if (doc.hidden.size() > doc.stories.size())
        __builtin_trap();
    for (qsizetype i = 0; i < doc.hidden.size(); ++i) {
        qsizetype end = 0;
        for (const HiddenSpan& span : doc.hidden[i]) {
            if (span.start < end || span.length <= 0 || span.start + span.length > doc.stories[i].size())
                __builtin_trap();
            end = span.start + span.length;
        }
    }
    return 0;
}
