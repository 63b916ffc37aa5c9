#pragma once

#include <QFileInfo>
#include <QString>

// Whether two paths name the same document file: the same absolute path, or, for files
// that exist, the same file behind links and other spellings. Letter case counts where
// the file system's does.
inline bool SameDocumentFile(const QString& left, const QString& right)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    if (left.isEmpty() || right.isEmpty())
        return false;
    const QFileInfo a(left);
    const QFileInfo b(right);
    if (a.absoluteFilePath().compare(b.absoluteFilePath(), sensitivity) == 0)
        return true;
    // Empty for a file that does not exist: never the same as another such file.
    const QString canonical = a.canonicalFilePath();
    return !canonical.isEmpty() && canonical.compare(b.canonicalFilePath(), sensitivity) == 0;
}
