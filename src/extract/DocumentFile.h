#pragma once

#include "extract/ExtractResult.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

// Reads a whole document file into memory, bounded, by the name the operating system
// gives it (bytes on Unix, so names in any encoding open). Only regular files are read,
// after links are followed: a folder, pipe, socket or device is refused at once with
// its own reason and never opened for a blocking read.
class DocumentFile
{
public:
    static constexpr qint64 kMaxBytes = 256 * 1024 * 1024;

    // The file's bytes, or None replaced by the reason it cannot be read (with the
    // system's own message in detail where it adds something). An empty file gives
    // NoText.
    static ExtractError Read(const QByteArray& nativePath, QByteArray& bytes, QString& detail);
    // The native name of a path as Qt spells it.
    static QByteArray NativeName(const QString& path);
    // A native name shown to a person: undecodable bytes become replacement characters.
    static QString DisplayName(const QByteArray& nativePath);

    // The program's arguments as the system gave them (argv on Unix).
    static QByteArrayList NativeArguments(int argc, char** argv);
    // The native form of each of some arguments taken from Qt's decoded list: matched
    // in order from the end of the native list, so that two names that show the same
    // (both with undecodable bytes in the same places) still keep their own bytes. An
    // argument without a match is taken as Qt spells it.
    static QByteArrayList Match(const QStringList& shown, const QByteArrayList& native);
};
