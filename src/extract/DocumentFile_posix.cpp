#include "extract/DocumentFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The reason a path cannot be looked up or opened, from the system's error number.
ExtractError fromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ExtractError::FileMissing;
    case ENAMETOOLONG:
        return ExtractError::PathTooLong;
    case ELOOP:
        return ExtractError::LinkLoop;
    case EACCES:
    case EPERM:
        return ExtractError::NoPermission;
    case EISDIR:
        return ExtractError::IsFolder;
    default:
        return ExtractError::Damaged;
    }
}

ExtractError fromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return ExtractError::IsFolder;
    if (!S_ISREG(mode))
        return ExtractError::NotRegularFile;
    return ExtractError::None;
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

ExtractError DocumentFile::Read(const QByteArray& nativePath, QByteArray& bytes, QString& detail)
{
    bytes.clear();
    detail.clear();
    if (nativePath.isEmpty() || nativePath.contains('\0'))
        return ExtractError::FileMissing;
    const char* path = nativePath.constData();
    struct stat info;
    if (::stat(path, &info) != 0) {
        const int error = errno;
        // stat() is refused only when a folder on the way cannot be searched; the file
        // itself needs no rights for it.
        if (error == EACCES)
            return ExtractError::FolderDenied;
        if (fromErrno(error) == ExtractError::Damaged)
            detail = systemMessage(error);
        return fromErrno(error);
    }
    if (const ExtractError kind = fromMode(info.st_mode); kind != ExtractError::None)
        return kind;
    // O_NONBLOCK: should the name be swapped for a pipe after the check, open() must
    // still return at once; the second check below then refuses it.
    const Descriptor fd(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        const int error = errno;
        if (fromErrno(error) == ExtractError::Damaged)
            detail = systemMessage(error);
        return fromErrno(error);
    }
    if (::fstat(fd.get(), &info) != 0) {
        detail = systemMessage(errno);
        return ExtractError::Damaged;
    }
    if (const ExtractError kind = fromMode(info.st_mode); kind != ExtractError::None)
        return kind;
    if (info.st_size > kMaxBytes)
        return ExtractError::TooLarge;

    // The size may change while reading: never read past the limit.
    QByteArray data;
    data.resize(qsizetype(info.st_size) + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == data.size()) {
            if (total > kMaxBytes)
                return ExtractError::TooLarge;
            data.resize(std::min<qsizetype>(kMaxBytes + 1, total * 2 + 4096));
        }
        const ssize_t n = ::read(fd.get(), data.data() + total, size_t(data.size() - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            detail = systemMessage(error);
            return error == EISDIR ? ExtractError::IsFolder : ExtractError::Damaged;
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total > kMaxBytes)
        return ExtractError::TooLarge;
    if (total == 0)
        return ExtractError::NoText;
    data.truncate(total);
    bytes = std::move(data);
    return ExtractError::None;
}

QByteArray DocumentFile::NativeName(const QString& path)
{
    return QFile::encodeName(path);
}

QString DocumentFile::DisplayName(const QByteArray& nativePath)
{
    return QFile::decodeName(nativePath);
}

QByteArrayList DocumentFile::NativeArguments(int argc, char** argv)
{
    QByteArrayList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}
