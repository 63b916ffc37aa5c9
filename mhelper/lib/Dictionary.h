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
    bool isOpen() const { return m_pool != nullptr; }

    // The lemma of a normalised form, or an empty view when the form is unknown.
    std::string_view Lookup(std::string_view form) const { return Find(m_forms, form); }
    // The lemma whose forms mostly have this Snowball stem, or an empty view.
    std::string_view LookupStem(std::string_view stem) const { return Find(m_stems, stem); }

private:
    struct Table
    {
        const uint32_t* buckets = nullptr;
        const Entry* entries = nullptr;
        uint32_t shift = 64;
        uint32_t count = 0;
    };
    static bool Bind(const unsigned char* base, uint64_t size, const TableHeader& header, Table& table);
    std::string_view Find(const Table& table, std::string_view key) const;
    bool PayloadMatches(size_t size, uint64_t checksum) const;

    MappedFile m_file;
    Table m_forms;
    Table m_stems;
    const char* m_pool = nullptr;
    uint32_t m_poolSize = 0;
};

} // namespace mhelper
