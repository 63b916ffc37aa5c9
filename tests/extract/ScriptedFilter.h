#pragma once

#include "extract/IFilter.h"

#include <QList>
#include <QString>

#include <algorithm>

// A test filter that plays back a script: each GetChunk answers the next chunk status,
// and for a successful chunk its pieces are handed out by GetText one call each.
class ScriptedFilter : public IFilter
{
public:
    struct Piece
    {
        QString text;
        FilterStatus::Code status = FilterStatus::Ok;
    };
    struct Chunk
    {
        FilterStatus::Code status = FilterStatus::Ok;
        QList<Piece> pieces;
        // Answer after the pieces are used up.
        FilterStatus::Code end = FilterStatus::NoMoreText;
    };

    QList<Chunk> chunks;
    // Answered by GetChunk once the script is over; EndOfChunks unless a test wants more.
    FilterStatus::Code afterScript = FilterStatus::EndOfChunks;
    // GetText's answer forever, when not Scripted, instead of the pieces.
    enum class Endless
    {
        Scripted,
        Failure,    // Fail with no text
        EmptyPiece, // Ok with no text
        FullPiece,  // Ok with a full buffer
    };
    Endless endless = Endless::Scripted;

    int getChunkCalls = 0;
    int getTextCalls = 0;
    bool initialised = false;
    std::uint32_t initFlags = 0;

    FilterStatus::Code Init(std::uint32_t flags, std::uint32_t* returned) override
    {
        initialised = true;
        initFlags = flags;
        if (returned)
            *returned = 0;
        return FilterStatus::Ok;
    }

    FilterStatus::Code GetChunk(FilterChunk* chunk) override
    {
        ++getChunkCalls;
        m_piece = 0;
        if (m_chunk + 1 >= chunks.size()) {
            m_chunk = chunks.size();
            return afterScript;
        }
        ++m_chunk;
        if (chunk)
            chunk->id = std::uint32_t(m_chunk + 1);
        return chunks.at(m_chunk).status;
    }

    FilterStatus::Code GetText(std::uint32_t* count, char16_t* buffer) override
    {
        ++getTextCalls;
        switch (endless) {
        case Endless::Scripted:
            break;
        case Endless::Failure:
            *count = 0;
            return FilterStatus::Fail;
        case Endless::EmptyPiece:
            *count = 0;
            return FilterStatus::Ok;
        case Endless::FullPiece:
            std::fill_n(buffer, *count, u'x');
            return FilterStatus::Ok;
        }
        if (m_chunk < 0 || m_chunk >= chunks.size()) {
            *count = 0;
            return FilterStatus::NoMoreText;
        }
        const Chunk& chunk = chunks.at(m_chunk);
        if (m_piece >= chunk.pieces.size()) {
            *count = 0;
            return chunk.end;
        }
        const Piece& piece = chunk.pieces.at(m_piece++);
        const std::uint32_t n = std::min<std::uint32_t>(*count, std::uint32_t(piece.text.size()));
        for (std::uint32_t i = 0; i < n; ++i)
            buffer[i] = piece.text.at(i).unicode();
        *count = n;
        return piece.status;
    }

private:
    qsizetype m_chunk = -1;
    qsizetype m_piece = 0;
};
