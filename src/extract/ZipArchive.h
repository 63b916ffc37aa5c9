#pragma once

#include <QByteArray>
#include <QString>

struct zip;

// A read-only zip archive in memory (libzip). Each part is read with its size capped,
// and all parts read from one archive together may not inflate past a total, so a zip
// bomb is refused after a bounded amount of work. The compression ratio is no test:
// honest documents with large empty tables compress more than 200 to 1.
class ZipArchive
{
public:
    static constexpr qint64 kMaxPartBytes = 64 * 1024 * 1024;
    static constexpr qint64 kMaxTotalBytes = 128 * 1024 * 1024;

    enum class Status
    {
        Ok,
        Missing,
        TooLarge,
        Damaged,
        Encrypted,
    };

    explicit ZipArchive(qint64 maxTotalBytes = kMaxTotalBytes) : m_budget(maxTotalBytes) {}
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The bytes must outlive the archive. False when they are no zip archive.
    bool Open(const QByteArray& bytes);
    bool Contains(const QString& name) const;
    // TooLarge when the part, or the parts read so far with it, are over the limits.
    Status Read(const QString& name, QByteArray& out) const;

private:
    struct zip* m_zip = nullptr;
    mutable qint64 m_budget; // bytes that may still be inflated
};
