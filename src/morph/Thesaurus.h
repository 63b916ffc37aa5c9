#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

// Synonym pairs of lemmas, as compiled into synonyms.dat (SynonymFormat.h): direct
// pairs only, listed from both ends. The engine takes one as an input, as it takes a
// Stemmer; an empty thesaurus has no synonyms at all.
class Thesaurus
{
public:
    Thesaurus() = default;

    // Reads the compiled bytes. Checks the header, every count against its bound, the
    // checksum, and that every offset and link stays inside the file; on any fault the
    // result is empty and *problem says why.
    static Thesaurus FromData(const QByteArray& data, QString* problem);
    // The same for a file, at most 32 MB.
    static Thesaurus FromFile(const QString& path, QString* problem);

    bool isEmpty() const { return m_links.empty(); }
    qint32 wordCount() const { return m_wordStart.empty() ? 0 : qint32(m_wordStart.size() - 1); }
    // Each pair once.
    qsizetype pairCount() const { return qsizetype(m_links.size() / 2); }

    // The index of a lemma (lower case, ё as е), or -1.
    qint32 find(const QString& lemma) const;
    QString word(qint32 index) const;
    // The synonyms of a word, as indices, ascending.
    std::span<const quint32> synonyms(qint32 index) const;

private:
    std::vector<quint32> m_wordStart;
    std::vector<quint32> m_linkStart;
    std::vector<quint32> m_links;
    QByteArray m_pool;
};

// The process-wide thesaurus the front ends load once from synonyms.dat, found beside
// the program or in the installed data folder (InstallLayout), and hand to the engine.
// Used from one thread only; the thesaurus it holds is read-only once loaded.
class InstalledThesaurus
{
public:
    static InstalledThesaurus& Instance();

    // Loads synonyms.dat when not loaded yet. False when the file is missing or
    // damaged: the thesaurus is then empty and loadProblem() says why, for the front
    // end to show once.
    bool Load();
    bool LoadFrom(const QStringList& candidates);
    const Thesaurus& thesaurus() const { return m_thesaurus; }
    QString loadProblem() const { return m_loadProblem; }

private:
    InstalledThesaurus() = default;

    bool m_tried = false;
    Thesaurus m_thesaurus;
    QString m_loadProblem;
};
