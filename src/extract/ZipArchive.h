#pragma once

#include <QByteArray>
#include <QString>

struct zip;

// A read-only zip archive in memory (libzip). Each part is read with its size capped
// and its compression ratio checked, so a zip bomb is refused rather than inflated.
class ZipArchive
{
public:
    static constexpr qint64 kMaxPartBytes = 64 * 1024 * 1024;
    // Parts above kRatioFloor bytes may inflate at most kMaxRatio times.
    static constexpr qint64 kMaxRatio = 200;
    static constexpr qint64 kRatioFloor = 1024 * 1024;

    enum class Status
    {
        Ok,
        Missing,
        TooLarge,
        Damaged,
        Encrypted,
    };

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The bytes must outlive the archive. False when they are no zip archive.
    bool Open(const QByteArray& bytes);
    bool Contains(const QString& name) const;
    Status Read(const QString& name, QByteArray& out) const;

private:
    struct zip* m_zip = nullptr;
};
