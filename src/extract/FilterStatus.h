#pragma once

#include <cstdint>

// Result codes of the filter interface. Values follow the published filter
// interface, so a code read in a log means the same thing everywhere.
namespace FilterStatus {
using Code = std::uint32_t;

inline constexpr Code Ok = 0x00000000;
inline constexpr Code LastText = 0x00041709;             // success: this piece ends the chunk
inline constexpr Code EndOfChunks = 0x80041700;          // no further chunk
inline constexpr Code NoMoreText = 0x80041701;           // the chunk's text is used up
inline constexpr Code Access = 0x80041703;               // access to the document denied
inline constexpr Code NoText = 0x80041705;               // the chunk holds no text (a value chunk)
inline constexpr Code EmbeddingUnavailable = 0x80041707; // an embedded object cannot be read
inline constexpr Code LinkUnavailable = 0x80041708;      // a linked object cannot be read
inline constexpr Code Password = 0x8004170B;             // the document is password-protected
inline constexpr Code UnknownFormat = 0x8004170C;        // no filter understands the file
inline constexpr Code Fail = 0x80004005;                 // any other failure

inline constexpr bool Succeeded(Code code)
{
    return (code & 0x80000000u) == 0;
}
} // namespace FilterStatus
