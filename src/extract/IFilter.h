#pragma once

#include "extract/ExtractResult.h"
#include "extract/FilterStatus.h"

#include <cstdint>

// Flags for IFilter::Init, as the published filter interface numbers them.
namespace FilterInit {
inline constexpr std::uint32_t CanonParagraphs = 0x01;
inline constexpr std::uint32_t HardLineBreaks = 0x02;
inline constexpr std::uint32_t CanonHyphens = 0x04;
inline constexpr std::uint32_t CanonSpaces = 0x08;
inline constexpr std::uint32_t ApplyIndexAttributes = 0x10;
inline constexpr std::uint32_t IndexingOnly = 0x40;
} // namespace FilterInit

// What IFilter::GetChunk tells about the chunk it moved to.
struct FilterChunk
{
    enum Break
    {
        NoBreak,
        WordBreak,
        SentenceBreak,
        ParagraphBreak,
        ChapterBreak,
    };
    enum State
    {
        Text = 1,
        Value = 2,
    };
    std::uint32_t id = 0;
    Break breakType = NoBreak;
    State state = Text;
};

// One document filter: the text of a document, chunk by chunk, each chunk's text
// delivered in pieces into the caller's buffer. Every call answers a status code;
// a filter never throws.
class IFilter
{
public:
    virtual ~IFilter() = default;
    // Prepares the filter; the returned flags say which attributes it supports.
    virtual FilterStatus::Code Init(std::uint32_t flags, std::uint32_t* returnedFlags) = 0;
    // Moves to the next chunk. EndOfChunks when there is none, Password or Access when
    // the document cannot be read further, EmbeddingUnavailable/LinkUnavailable for a
    // chunk that cannot be read.
    virtual FilterStatus::Code GetChunk(FilterChunk* chunk) = 0;
    // Copies up to *count UTF-16 units of the current chunk's text into buffer and sets
    // *count to the number written. NoMoreText when the chunk's text is used up, NoText
    // for a chunk without text, LastText with the final piece.
    virtual FilterStatus::Code GetText(std::uint32_t* count, char16_t* buffer) = 0;
    // The runs of the current chunk's text that the printed page does not show, as
    // offsets into that chunk's text. Not part of the published interface: a filter
    // that cannot tell keeps this default and reports none.
    virtual QList<HiddenSpan> HiddenRuns() const { return {}; }
    // Hands over the current chunk's whole text when the filter holds it as one string
    // without NULs and none of it was read yet: the same text GetText would deliver,
    // without copying it piece by piece. Not part of the published interface either;
    // by default a filter cannot, and answers false.
    virtual bool TakeText(QString& text)
    {
        Q_UNUSED(text);
        return false;
    }
};
