#include "Dictionary.h"

#include "WordText.h"

#include <algorithm>

namespace mhelper {

namespace {

bool SectionFits(uint64_t offset, uint64_t bytes, uint64_t fileSize)
{
    return offset % 8 == 0 && offset <= fileSize && bytes <= fileSize - offset;
}

} // namespace

bool Dictionary::Bind(const unsigned char* base, uint64_t size, const TableHeader& header, Table& table)
{
    if (header.bucketBits == 0 || header.bucketBits > kMaxBucketBits)
        return false;
    const uint64_t bucketCount = (uint64_t(1) << header.bucketBits) + 1;
    if (!SectionFits(header.bucketsOffset, bucketCount * 4, size) ||
        !SectionFits(header.entriesOffset, uint64_t(header.entryCount) * sizeof(Entry), size))
        return false;
    table.buckets = reinterpret_cast<const uint32_t*>(base + header.bucketsOffset);
    table.entries = reinterpret_cast<const Entry*>(base + header.entriesOffset);
    table.shift = 64 - header.bucketBits;
    table.count = header.entryCount;
    return true;
}

bool Dictionary::PayloadMatches(size_t size, uint64_t checksum) const
{
    // Read through the map a megabyte at a time, each let go once summed: kept, the
    // whole file would stay in the process's resident memory, though a check looks up
    // only a small part of it.
    constexpr size_t kChunk = 1 << 20;
    static_assert(kChunk % PayloadChecksum::kBlock == 0 && sizeof(Header) % PayloadChecksum::kBlock == 0);
    const unsigned char* base = m_file.data();
    PayloadChecksum sum;
    size_t offset = 0;
    for (;;) {
        const size_t n = std::min(kChunk, size - offset);
        const size_t from = std::max(offset, sizeof(Header));
        sum.Add(base + from, offset + n - from);
        if (offset + n == size)
            break;
        m_file.Release(offset, n);
        offset += n;
    }
    const bool matches = sum.Value() == checksum; // reads the last chunk's tail
    m_file.Release(offset, size - offset);
    return matches;
}

Dictionary::Status Dictionary::Open(const std::string& path)
{
    if (!m_file.Open(path, kMaxFileSize))
        return Status::Missing;
    const unsigned char* base = m_file.data();
    const size_t size = m_file.size();
    if (size < sizeof(Header))
        return Status::Truncated;
    Header h;
    std::memcpy(&h, base, sizeof h);
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0)
        return Status::BadMagic;
    if (h.version != kFormatVersion)
        return Status::BadVersion;
    if (h.fileSize != size)
        return Status::Truncated;
    Table forms, stems;
    if (h.headerSize != sizeof(Header) || !Bind(base, size, h.forms, forms) || !Bind(base, size, h.stems, stems) ||
        !SectionFits(h.lemmaPoolOffset, h.lemmaPoolSize, size) || h.lemmaPoolSize == 0 ||
        base[h.lemmaPoolOffset + h.lemmaPoolSize - 1] != 0)
        return Status::BadLayout;
    if (!PayloadMatches(size, h.checksum))
        return Status::BadChecksum;
    m_forms = forms;
    m_stems = stems;
    m_pool = reinterpret_cast<const char*>(base + h.lemmaPoolOffset);
    m_poolSize = h.lemmaPoolSize;
    return Status::Ok;
}

std::string_view Dictionary::Find(const Table& table, std::string_view key) const
{
    if (!table.buckets || key.empty())
        return {};
    const uint64_t hash = HashForm(key);
    const uint64_t bucket = hash >> table.shift;
    const uint32_t begin = table.buckets[bucket];
    const uint32_t end = std::min(table.buckets[bucket + 1], table.count);
    const uint32_t low = uint32_t(hash);
    for (uint32_t i = begin; i < end; ++i) {
        if (table.entries[i].hashLow != low)
            continue;
        const uint32_t offset = table.entries[i].lemmaOffset;
        if (offset >= m_poolSize)
            return {};
        const size_t length = static_cast<unsigned char>(m_pool[offset]);
        if (length >= m_poolSize - offset)
            return {};
        // The compiler writes well-formed text; anything else is a damaged file.
        const std::string_view lemma(m_pool + offset + 1, length);
        return IsWellFormedUtf8(lemma) ? lemma : std::string_view();
    }
    return {};
}

} // namespace mhelper
