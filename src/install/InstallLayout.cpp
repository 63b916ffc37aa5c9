#include "install/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

InstallLayout::Folders InstallLayout::thisBuild()
{
    return {QStringLiteral(PARAFRIX_INSTALL_LIB_FROM_BIN), QStringLiteral(PARAFRIX_INSTALL_DATA_FROM_BIN)};
}

InstallLayout::InstallLayout(const QString& programDir, Folders folders)
    : m_programDir(programDir), m_folders(std::move(folders))
{
}

QStringList InstallLayout::candidates(const QString& installedDir, const QString& fileName) const
{
    if (m_programDir.isEmpty())
        return {};
    const QDir program(m_programDir);
    QStringList paths{QDir::cleanPath(program.filePath(fileName))};
    // A flat layout installs beside the program: one place, named once.
    const QString installed = QDir::cleanPath(program.filePath(installedDir + QLatin1Char('/') + fileName));
    if (installed != paths.constFirst())
        paths << installed;
    return paths;
}

QStringList InstallLayout::libraryCandidates(const QString& fileName) const
{
    return candidates(m_folders.library, fileName);
}

QStringList InstallLayout::dataCandidates(const QString& fileName) const
{
    return candidates(m_folders.data, fileName);
}

QString InstallLayout::firstExisting(const QStringList& candidates)
{
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString InstallLayout::Describe(const QStringList& candidates)
{
    QStringList shown;
    for (const QString& path : candidates)
        shown << QDir::toNativeSeparators(path);
    return shown.join(QStringLiteral(u", "));
}
