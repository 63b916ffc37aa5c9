#pragma once

#include <cstddef>
#include <string>

namespace mhelper {

// A read-only memory map of a whole file. Platform code lives in MappedFile_<os>.cpp.
class MappedFile
{
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the file; false (and nothing mapped) when it cannot be opened, is no regular
    // file (a pipe, a device: never waited on), is empty or is larger than maxSize.
    bool Open(const std::string& path, size_t maxSize);
    const unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }
    // Reads n bytes from offset through the system instead of the map: a pass over the
    // whole file (its checksum) then leaves none of its pages in the process's resident
    // memory. False when fewer than n bytes could be read.
    bool ReadAt(size_t offset, unsigned char* buffer, size_t n) const;

private:
    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
    // The mapping object, on systems that have one apart from the view.
    [[maybe_unused]] void* m_native = nullptr;
    // The open file, kept for ReadAt: a descriptor or a handle.
    [[maybe_unused]] int m_fd = -1;
    [[maybe_unused]] void* m_handle = nullptr;
};

} // namespace mhelper
