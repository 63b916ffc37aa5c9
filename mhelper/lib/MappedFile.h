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
    // Lets the system drop the range's pages from the process's resident memory: they
    // are read from the file again when next touched. offset is a multiple of the page
    // size; the range is clamped to the file.
    void Release(size_t offset, size_t n) const;

private:
    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
    // The mapping object, on systems that have one apart from the view.
    [[maybe_unused]] void* m_native = nullptr;
};

} // namespace mhelper
