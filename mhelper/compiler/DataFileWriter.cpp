#include "DataFileWriter.h"

#include "DataFormat.h"
#include "WordText.h"

#include <cstdio>
#include <fstream>

namespace mhelper {

namespace {

void Append(std::string& out, const void* p, size_t n)
{
    out.append(static_cast<const char*>(p), n);
}

void Pad(std::string& out)
{
    while (out.size() % 8 != 0)
        out.push_back('\0');
}

} // namespace

bool DataFileWriter::Write(const std::string& path, Entries chosen, Entries stems,
                           const std::vector<std::string>& lemmas, std::string& error)
{
    // Only lemmas that some form or stem reaches go into the pool.
    std::vector<uint32_t> poolOffset(lemmas.size(), UINT32_MAX);
    uint32_t lemmaCount = 0;
    std::string pool;
    auto place = [&](uint32_t& lemma) {
        if (poolOffset[lemma] == UINT32_MAX) {
            poolOffset[lemma] = uint32_t(pool.size());
            ++lemmaCount;
            const std::string& text = lemmas[lemma];
            const size_t length = Utf8Prefix(text, 255);
            pool.push_back(char(static_cast<unsigned char>(length)));
            pool.append(text, 0, length);
            pool.push_back('\0');
        }
        lemma = poolOffset[lemma];
    };
    for (auto& entry : chosen)
        place(entry.second);
    for (auto& entry : stems)
        place(entry.second);
    if (pool.empty())
        pool.push_back('\0');

    std::string body;
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kFormatVersion;
    h.headerSize = sizeof(Header);
    h.lemmaCount = lemmaCount;
    h.lemmaPoolSize = uint32_t(pool.size());
    auto writeTable = [&](const std::vector<std::pair<uint64_t, uint32_t>>& entries, TableHeader& table) {
        const size_t n = entries.size();
        uint32_t bits = 1;
        while (bits < kMaxBucketBits && (uint64_t(1) << (bits + 2)) < n)
            ++bits;
        std::vector<uint32_t> buckets((size_t(1) << bits) + 1, 0);
        for (const auto& e : entries)
            ++buckets[(e.first >> (64 - bits)) + 1];
        for (size_t b = 1; b < buckets.size(); ++b)
            buckets[b] += buckets[b - 1];
        table.bucketBits = bits;
        table.entryCount = uint32_t(n);
        table.bucketsOffset = sizeof(Header) + body.size();
        Append(body, buckets.data(), buckets.size() * 4);
        Pad(body);
        table.entriesOffset = sizeof(Header) + body.size();
        for (const auto& e : entries) {
            const Entry entry{uint32_t(e.first), e.second};
            Append(body, &entry, sizeof entry);
        }
        Pad(body);
    };
    writeTable(chosen, h.forms);
    writeTable(stems, h.stems);
    h.lemmaPoolOffset = sizeof(Header) + body.size();
    body += pool;
    Pad(body);
    h.fileSize = sizeof(Header) + body.size();
    h.checksum = Checksum(reinterpret_cast<const unsigned char*>(body.data()), body.size());
    if (h.fileSize > kMaxFileSize) {
        error = "the dictionary is too large";
        return false;
    }

    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(&h), sizeof h);
        out.write(body.data(), std::streamsize(body.size()));
        if (!out) {
            error = "cannot write " + temp;
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path;
        return false;
    }
    return true;
}

} // namespace mhelper
