#pragma once

#include <QString>
#include <QStringList>

// Where the program's own files are, found from the folder of its executable so that
// a build tree and an installed tree under any prefix both work. In a build tree
// everything lies beside the programs; in an installed tree the programs are in
// <prefix>/bin, private libraries and modules in <prefix>/lib/parafrix and data in
// <prefix>/share/parafrix (on Windows everything stays beside the program). Candidates
// are listed beside the program first, so a build never picks up an older installed copy.
class InstallLayout
{
public:
    // The installed folders, relative to the programs' folder.
    struct Folders
    {
        QString library;
        QString data;
    };
    // The folders this build installs to.
    static Folders thisBuild();

    // programDir: the folder of the running executable; empty gives no candidates.
    explicit InstallLayout(const QString& programDir, Folders folders = thisBuild());

    // Where a private library or a run-time module named fileName may be.
    QStringList libraryCandidates(const QString& fileName) const;
    // Where a data file named fileName may be.
    QStringList dataCandidates(const QString& fileName) const;

    // The first candidate that is an existing file; empty when none is.
    static QString firstExisting(const QStringList& candidates);
    // The candidates as one line for a message that names what was looked for.
    static QString Describe(const QStringList& candidates);

private:
    QStringList candidates(const QString& installedDir, const QString& fileName) const;

    QString m_programDir;
    Folders m_folders;
};
