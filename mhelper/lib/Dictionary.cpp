#include "Dictionary.h"

#include <algorithm>

namespace mhelper {

namespace {

bool SectionFits(uint64_t offset, uint64_t bytes, uint64_t fileSize)
{
    return offset % 8 == 0 && offset <= fileSize && bytes <= fileSize - offset;
}

} // namespace

Dictionary::Status Dictionary::Open(const std::string& path)
{
    if (!m_file.Open(path, kMaxFileSize))
        return Status::Missing;
    const unsigned char* base = m_file.data();
    const size_t size = m_file.size();
    if (size < sizeof(Header))
        return Status::Truncated;
    const Header* h = reinterpret_cast<const Header*>(base);
    if (std::memcmp(h->magic, kMagic, sizeof kMagic) != 0)
        return Status::BadMagic;
    if (h->version != kFormatVersion)
        return Status::BadVersion;
    if (h->fileSize != size)
        return Status::Truncated;
    if (h->headerSize != sizeof(Header) || h->bucketBits == 0 || h->bucketBits > kMaxBucketBits)
        return Status::BadLayout;
    const uint64_t bucketCount = (uint64_t(1) << h->bucketBits) + 1;
    if (!SectionFits(h->bucketsOffset, bucketCount * 4, size) ||
        !SectionFits(h->entriesOffset, uint64_t(h->entryCount) * sizeof(Entry), size) ||
        !SectionFits(h->lemmaPoolOffset, h->lemmaPoolSize, size) || h->lemmaPoolSize == 0 ||
        base[h->lemmaPoolOffset + h->lemmaPoolSize - 1] != 0)
        return Status::BadLayout;
    if (Checksum(base + sizeof(Header), size - sizeof(Header)) != h->checksum)
        return Status::BadChecksum;
    m_header = h;
    m_buckets = reinterpret_cast<const uint32_t*>(base + h->bucketsOffset);
    m_entries = reinterpret_cast<const Entry*>(base + h->entriesOffset);
    m_pool = reinterpret_cast<const char*>(base + h->lemmaPoolOffset);
    m_bucketShift = 64 - h->bucketBits;
    m_entryCount = h->entryCount;
    m_poolSize = h->lemmaPoolSize;
    return Status::Ok;
}

std::string_view Dictionary::Lookup(std::string_view form) const
{
    if (!m_header)
        return {};
    const uint64_t hash = HashForm(form);
    const uint64_t bucket = hash >> m_bucketShift;
    const uint32_t begin = m_buckets[bucket];
    const uint32_t end = std::min(m_buckets[bucket + 1], m_entryCount);
    const uint32_t low = uint32_t(hash);
    for (uint32_t i = begin; i < end; ++i) {
        if (m_entries[i].hashLow != low)
            continue;
        const uint32_t offset = m_entries[i].lemmaOffset;
        if (offset >= m_poolSize)
            return {};
        const size_t length = static_cast<unsigned char>(m_pool[offset]);
        if (length >= m_poolSize - offset)
            return {};
        return std::string_view(m_pool + offset + 1, length);
    }
    return {};
}

} // namespace mhelper
