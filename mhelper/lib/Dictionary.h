#pragma once

#include "DataFormat.h"
#include "MappedFile.h"

#include <string>
#include <string_view>

namespace mhelper {

// The compiled dictionary, memory-mapped. Open checks the header, the section bounds
// and the checksum only; lookups clamp every index they read, so even a file with a
// forged checksum cannot make them read outside the map.
class Dictionary
{
public:
    enum class Status
    {
        Ok,
        Missing,
        Truncated,
        BadMagic,
        BadVersion,
        BadLayout,
        BadChecksum
    };

    Status Open(const std::string& path);
    bool isOpen() const { return m_header != nullptr; }

    // The lemma of a normalised form, or an empty view when the form is unknown.
    std::string_view Lookup(std::string_view form) const;

    uint32_t entryCount() const { return m_header ? m_header->entryCount : 0; }

private:
    MappedFile m_file;
    const Header* m_header = nullptr;
    const uint32_t* m_buckets = nullptr;
    const Entry* m_entries = nullptr;
    const char* m_pool = nullptr;
    // Copies of header fields, read on every lookup.
    uint32_t m_bucketShift = 64;
    uint32_t m_entryCount = 0;
    uint32_t m_poolSize = 0;
};

} // namespace mhelper
