#pragma once

// The layout of synonyms.dat, shared by its compiler and the program's reader.
//
// [Header][word starts: (wordCount + 1) x u32][link starts: (wordCount + 1) x u32]
// [links: linkCount x u32][word pool: poolSize bytes]
// Words are lemmas as the morphology gives them (UTF-8, lower case, ё as е), sorted
// by their bytes, without terminators: word i is pool[wordStarts[i] .. wordStarts[i + 1]).
// The synonyms of word i are links[linkStarts[i] .. linkStarts[i + 1]), word indices
// ascending; every pair is listed from both ends. All integers are little-endian.
#include <cstdint>

namespace synonymformat {

inline constexpr char kMagic[8] = {'P', 'F', 'X', 'S', 'Y', 'N', 'O', 'N'};
inline constexpr uint32_t kVersion = 1;
// Bounds the reader enforces before it believes any count.
inline constexpr uint32_t kMaxWords = 1u << 20;
inline constexpr uint32_t kMaxLinks = 1u << 23;
inline constexpr uint32_t kMaxPool = 1u << 24;

struct Header
{
    char magic[8];
    uint32_t version;
    uint32_t wordCount;
    uint32_t linkCount;
    uint32_t poolSize;
    uint32_t checksum; // FNV-1a of every byte after the header
    uint32_t reserved;
};
static_assert(sizeof(Header) == 32);

inline uint32_t Checksum(const unsigned char* data, uint64_t size)
{
    uint32_t hash = 2166136261u;
    for (uint64_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 16777619u;
    }
    return hash;
}

} // namespace synonymformat
