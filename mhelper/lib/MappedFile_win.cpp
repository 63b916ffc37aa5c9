#include "MappedFile.h"

#include <cstdint>
#include <windows.h>

namespace mhelper {

MappedFile::~MappedFile()
{
    if (m_data)
        UnmapViewOfFile(m_data);
    if (m_native)
        CloseHandle(static_cast<HANDLE>(m_native));
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
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
    void* p = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (!p) {
        if (mapping)
            CloseHandle(mapping);
        CloseHandle(file);
        return false;
    }
    m_native = mapping;
    m_handle = file;
    m_data = static_cast<const unsigned char*>(p);
    m_size = size_t(size.QuadPart);
    return true;
}

bool MappedFile::ReadAt(size_t offset, unsigned char* buffer, size_t n) const
{
    if (!m_handle || offset > m_size || n > m_size - offset)
        return false;
    while (n > 0) {
        // An OVERLAPPED offset reads at a position without moving the file pointer.
        OVERLAPPED at{};
        at.Offset = DWORD(uint64_t(offset) & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(uint64_t(offset) >> 32);
        const DWORD want = DWORD(n < 0x40000000u ? n : 0x40000000u);
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(m_handle), buffer, want, &got, &at) || got == 0)
            return false;
        buffer += got;
        offset += got;
        n -= got;
    }
    return true;
}

} // namespace mhelper
