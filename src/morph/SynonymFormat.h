#pragma once

// The layout of synonyms.dat, shared by its compiler and the program's reader.
//
// [Header][word starts: (wordCount + 1) x u32][link starts: (wordCount + 1) x u32]
// [links: linkCount x u32][word pool: poolSize bytes]
// Words are lemmas as the morphology gives them (UTF-8, lower case, ё as е), sorted
// by their bytes, without terminators: word i is pool[wordStarts[i] .. wordStarts[i + 1]).
// The synonyms of word i are links[linkStarts[i] .. linkStarts[i + 1]), word indices
// ascending; every pair is listed from both ends. All integers are little-endian.
#include <bit>
#include <cstdint>
#include <cstring>

namespace synonymformat {

inline constexpr char kMagic[8] = {'P', 'F', 'X', 'S', 'Y', 'N', 'O', 'N'};
inline constexpr uint32_t kVersion = 2;
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
    uint32_t checksum; // Checksum() of every byte after the header
    uint32_t reserved;
};
static_assert(sizeof(Header) == 32);

// Four interleaved lanes of 64-bit words, folded to 32 bits: the file is checked at
// memory speed on every load, where a byte-serial hash took a millisecond.
inline uint32_t Checksum(const unsigned char* data, uint64_t size)
{
    const auto load64 = [](const unsigned char* p) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        if constexpr (std::endian::native == std::endian::big)
            v = __builtin_bswap64(v);
        return v;
    };
    const uint64_t m = 0x9E3779B97F4A7C15ull;
    uint64_t a = 1, b = 2, c = 3, d = 4;
    while (size >= 32) {
        a = (a ^ load64(data)) * m;
        b = (b ^ load64(data + 8)) * m;
        c = (c ^ load64(data + 16)) * m;
        d = (d ^ load64(data + 24)) * m;
        data += 32;
        size -= 32;
    }
    uint64_t h = a ^ (b << 1) ^ (c << 2) ^ (d << 3) ^ size;
    while (size > 0) {
        h = (h ^ *data++) * m;
        --size;
    }
    h ^= h >> 31;
    return uint32_t(h ^ (h >> 32));
}

} // namespace synonymformat
