#pragma once

#include "extract/IFilter.h"
#include "extract/ParsedDocument.h"

// The filter behind every format reader: serves a parsed document's stories as
// chunks, one story a chunk. A password-protected document answers Password to
// every GetChunk.
class DocumentFilter : public IFilter
{
public:
    explicit DocumentFilter(ParsedDocument document);

    FilterStatus::Code Init(std::uint32_t flags, std::uint32_t* returnedFlags) override;
    FilterStatus::Code GetChunk(FilterChunk* chunk) override;
    FilterStatus::Code GetText(std::uint32_t* count, char16_t* buffer) override;
    QList<HiddenSpan> HiddenRuns() const override;
    bool TakeText(QString& text) override;

private:
    ParsedDocument m_document;
    qsizetype m_next = 0;     // index of the next story to hand out
    qsizetype m_current = -1; // story being read, -1 before the first chunk
    qsizetype m_offset = 0;   // units of the current story already delivered
};
