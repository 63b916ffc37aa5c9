#pragma once

// The layout of mhelper.dat, shared by the dictionary compiler and the library.
//
// [Header][forms table][stems table][lemma pool]
// A table is [bucket starts: (1 << bucketBits) + 1 x u32][entries: entryCount x Entry].
// The lemma pool holds per lemma a length byte, the UTF-8 text and a NUL.
//
// Keys are not stored: an entry holds the low 32 bits of its key's 64-bit hash, and its
// bucket is given by the hash's top bucketBits bits, so a lookup checks bucketBits + 32
// bits of the hash. Entries of one bucket are contiguous. An entry holds its lemma's
// offset in the pool, so a lookup touches three places: bucket, entry and lemma.
// The forms table is keyed by normalised word forms; the stems table by the Snowball
// stems of dictionary forms, and answers for words the dictionary lacks.
// All integers are little-endian; every section starts on an 8-byte boundary.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace mhelper {

inline constexpr char kMagic[8] = {'M', 'H', 'E', 'L', 'P', 'D', 'A', 'T'};
inline constexpr uint32_t kFormatVersion = 3;
inline constexpr uint32_t kMaxBucketBits = 26;
inline constexpr uint64_t kMaxFileSize = 64ull << 20;

struct TableHeader
{
    uint32_t bucketBits;
    uint32_t entryCount;
    uint64_t bucketsOffset;
    uint64_t entriesOffset;
};
static_assert(sizeof(TableHeader) == 24);

struct Header
{
    char magic[8];
    uint32_t version;
    uint32_t headerSize;
    uint64_t fileSize;
    TableHeader forms;
    TableHeader stems;
    uint32_t lemmaCount;
    uint32_t lemmaPoolSize;
    uint64_t lemmaPoolOffset;
    uint64_t checksum; // of every byte after the header
};
static_assert(sizeof(Header) == 96);

struct Entry
{
    uint32_t hashLow;
    uint32_t lemmaOffset;
};
static_assert(sizeof(Entry) == 8);

// Loads 8 bytes as a little-endian number.
inline uint64_t LoadLE64(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

// 64-bit hash of a normalised form: word-at-a-time multiply-mix; the same on every
// platform and byte order.
inline uint64_t HashForm(std::string_view s)
{
    const uint64_t m = 0x9E3779B97F4A7C15ull;
    uint64_t h = 0x243F6A8885A308D3ull ^ (uint64_t(s.size()) * m);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size();
    while (n >= 8) {
        h = (h ^ LoadLE64(p)) * m;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    unsigned char tail[8] = {};
    std::memcpy(tail, p, n);
    h = (h ^ LoadLE64(tail) ^ (uint64_t(n) << 56)) * m;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

// Checksum of the payload: four interleaved lanes of 64-bit words, so a warm open
// checks tens of megabytes in a few milliseconds. Fed in pieces, so that a file can be
// checked as it streams past: every piece but the last must be a multiple of kBlock.
class PayloadChecksum
{
public:
    static constexpr size_t kBlock = 32;

    void Add(const unsigned char* p, size_t n)
    {
        while (n >= kBlock) {
            m_a = (m_a ^ LoadLE64(p)) * kMul;
            m_b = (m_b ^ LoadLE64(p + 8)) * kMul;
            m_c = (m_c ^ LoadLE64(p + 16)) * kMul;
            m_d = (m_d ^ LoadLE64(p + 24)) * kMul;
            p += kBlock;
            n -= kBlock;
        }
        m_tail = p;
        m_tailSize = n;
    }
    // The checksum of all pieces; the last piece must still be readable.
    uint64_t Value() const
    {
        const unsigned char* p = m_tail;
        size_t n = m_tailSize;
        uint64_t h = m_a ^ (m_b << 1) ^ (m_c << 2) ^ (m_d << 3) ^ n;
        while (n > 0) {
            h = (h ^ *p++) * kMul;
            --n;
        }
        return h ^ (h >> 31);
    }

private:
    static constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t m_a = 1, m_b = 2, m_c = 3, m_d = 4;
    const unsigned char* m_tail = nullptr;
    size_t m_tailSize = 0;
};

inline uint64_t Checksum(const unsigned char* p, size_t n)
{
    PayloadChecksum sum;
    sum.Add(p, n);
    return sum.Value();
}

} // namespace mhelper
