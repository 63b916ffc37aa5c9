#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mhelper {

// Lays out and writes mhelper.dat: the forms and stems tables and the pool of the
// lemmas they reach. Entries are (key hash, lemma index into lemmas), forms sorted by
// hash. Writes to a temporary file and renames it, so a failed build leaves no
// half-written data file.
class DataFileWriter
{
public:
    using Entries = std::vector<std::pair<uint64_t, uint32_t>>;
    static bool Write(const std::string& path, Entries forms, Entries stems, const std::vector<std::string>& lemmas,
                      std::string& error);
};

} // namespace mhelper
