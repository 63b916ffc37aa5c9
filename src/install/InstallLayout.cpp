#include "install/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

InstallLayout::InstallLayout(const QString& programDir) : m_programDir(programDir) {}

QStringList InstallLayout::candidates(const QString& installedDir, const QString& fileName) const
{
    if (m_programDir.isEmpty())
        return {};
    const QDir program(m_programDir);
    return {QDir::cleanPath(program.filePath(fileName)),
            QDir::cleanPath(program.filePath(installedDir + QLatin1Char('/') + fileName))};
}

QStringList InstallLayout::libraryCandidates(const QString& fileName) const
{
    return candidates(QStringLiteral(PARAFRIX_INSTALL_LIB_FROM_BIN), fileName);
}

QStringList InstallLayout::dataCandidates(const QString& fileName) const
{
    return candidates(QStringLiteral(PARAFRIX_INSTALL_DATA_FROM_BIN), fileName);
}

QString InstallLayout::firstExisting(const QStringList& candidates)
{
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString InstallLayout::describe(const QStringList& candidates)
{
    QStringList shown;
    for (const QString& path : candidates)
        shown << QDir::toNativeSeparators(path);
    return shown.join(QStringLiteral(u", "));
}
