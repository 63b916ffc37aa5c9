#include "extract/DocumentFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

// Systems without POSIX files (Windows): the file's name is its QString, and Qt's
// checks stand in for stat(). Windows has no pipes or devices among file names a user
// picks, so only folders and missing files need their own reasons here.
ExtractError DocumentFile::Read(const QByteArray& nativePath, QByteArray& bytes, QString& detail)
{
    bytes.clear();
    detail.clear();
    const QString path = DisplayName(nativePath);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return ExtractError::FileMissing;
    if (info.isDir())
        return ExtractError::IsFolder;
    if (!info.isFile())
        return ExtractError::NotRegularFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool denied = file.error() == QFileDevice::PermissionsError || !info.isReadable();
        if (!denied)
            detail = file.errorString();
        return denied ? ExtractError::NoPermission : ExtractError::Damaged;
    }
    if (file.size() > kMaxBytes)
        return ExtractError::TooLarge;
    bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes) {
        bytes.clear();
        return ExtractError::TooLarge;
    }
    return bytes.isEmpty() ? ExtractError::NoText : ExtractError::None;
}

QByteArray DocumentFile::NativeName(const QString& path)
{
    return path.toUtf8();
}

QString DocumentFile::DisplayName(const QByteArray& nativePath)
{
    return QString::fromUtf8(nativePath);
}

// Windows gives the program its arguments in UTF-16, which Qt keeps whole; the 8-bit
// argv would have lost what the code page cannot spell.
QByteArrayList DocumentFile::NativeArguments(int, char**)
{
    QByteArrayList arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.append(NativeName(argument));
    return arguments;
}
