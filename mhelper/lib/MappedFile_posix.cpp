#include "MappedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mhelper {

MappedFile::~MappedFile()
{
    if (m_data)
        munmap(const_cast<unsigned char*>(m_data), m_size);
    if (m_fd >= 0)
        ::close(m_fd);
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
    if (ok)
        m_fd = fd;
    else
        ::close(fd);
    return ok;
}

bool MappedFile::ReadAt(size_t offset, unsigned char* buffer, size_t n) const
{
    if (m_fd < 0 || offset > m_size || n > m_size - offset)
        return false;
    while (n > 0) {
        const ssize_t got = ::pread(m_fd, buffer, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        offset += size_t(got);
        n -= size_t(got);
    }
    return true;
}

} // namespace mhelper
