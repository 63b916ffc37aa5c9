#include "MappedFile.h"

#include <algorithm>
#include <windows.h>

namespace mhelper {

MappedFile::~MappedFile()
{
    if (m_data)
        UnmapViewOfFile(m_data);
    if (m_native)
        CloseHandle(static_cast<HANDLE>(m_native));
}

bool MappedFile::Open(const std::string& path, size_t maxSize)
{
    // The path is in the system ANSI code page.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && uint64_t(size.QuadPart) <= maxSize;
    HANDLE mapping = ok ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
    CloseHandle(file);
    if (!mapping)
        return false;
    void* p = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!p) {
        CloseHandle(mapping);
        return false;
    }
    m_native = mapping;
    m_data = static_cast<const unsigned char*>(p);
    m_size = size_t(size.QuadPart);
    return true;
}

void MappedFile::Release(size_t offset, size_t n) const
{
    if (!m_data || offset >= m_size)
        return;
    // Unlocking pages that are not locked removes them from the working set; the call
    // then reports that they were not locked, which is expected here.
    VirtualUnlock(const_cast<unsigned char*>(m_data) + offset, std::min(n, m_size - offset));
}

} // namespace mhelper
