#include "MappedFile.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mhelper {

MappedFile::~MappedFile()
{
    if (m_data)
        munmap(const_cast<unsigned char*>(m_data), m_size);
}

bool MappedFile::Open(const std::string& path, size_t maxSize)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come; the
    // check for a regular file follows.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st
    {
    };
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && size_t(st.st_size) <= maxSize;
    if (ok) {
        void* p = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ok = p != MAP_FAILED;
        if (ok) {
            m_data = static_cast<const unsigned char*>(p);
            m_size = size_t(st.st_size);
        }
    }
    ::close(fd);
    return ok;
}

void MappedFile::Release(size_t offset, size_t n) const
{
    if (!m_data || offset >= m_size)
        return;
    // The map is private and never written: dropped pages hold nothing but the file.
    madvise(const_cast<unsigned char*>(m_data) + offset, std::min(n, m_size - offset), MADV_DONTNEED);
}

} // namespace mhelper
