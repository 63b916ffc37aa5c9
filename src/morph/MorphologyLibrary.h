#pragma once

#include <QHash>
#include <QLibrary>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// The process-wide adapter of the morphology library: loaded once before the window
// exists, closed and unloaded at exit. GetStem returns a stem for every word; while
// no library is loaded it returns the word unchanged (callers pass it lower-cased).
// Used from one thread only.
class MorphologyLibrary
{
public:
    static MorphologyLibrary& Instance();

    // Loads "mhelper" from the program's folder or the installed library folder, else
    // through the platform's library search, and opens "mhelper.dat" from the program's
    // folder, else from the installed data folder (see InstallLayout). Safe to call
    // more than once.
    void Load();
    // The same with explicit candidates, tried in order: the first library that loads
    // and the first data file that exists (or the first one named, when none does).
    void LoadFrom(const QStringList& libraryCandidates, const QStringList& dataCandidates);
    // Closes and unloads only what was opened and loaded.
    void Unload();
    bool isLoaded() const;
    // Whether the library stems with its dictionary rather than suffix rules alone.
    bool hasDictionary() const { return m_hasDictionary; }
    // The data file handed to the library, empty when none was.
    QString dataPath() const { return m_dataPath; }

    // The stem of one lower-cased word; never changes case itself.
    QString GetStem(const QString& word);

    // Replaces the library with a function, for tests that need controlled stems.
    // An empty function restores the library.
    using StemFunction = std::function<QString(const QString&)>;
    static void SetTestStemmer(StemFunction stemmer);

    // Stems are cached up to this many words; the cache is then started afresh.
    static constexpr qsizetype kCacheLimit = 100000;

private:
    MorphologyLibrary() = default;
    ~MorphologyLibrary();
    MorphologyLibrary(const MorphologyLibrary&) = delete;
    MorphologyLibrary& operator=(const MorphologyLibrary&) = delete;

    using OpenFn = uint32_t (*)(const char*);
    using CalcFn = int32_t (*)(uint32_t, const char*, char*, int32_t*);
    using CloseFn = int32_t (*)(uint32_t);

    QString CalcStem(const QString& word) const;
    void Warn(const QString& message);

    StemFunction m_testStemmer;
    QLibrary m_library;
    OpenFn m_open = nullptr;
    CalcFn m_calc = nullptr;
    CloseFn m_close = nullptr;
    uint32_t m_handle = 0;
    bool m_opened = false;
    bool m_hasDictionary = false;
    bool m_warned = false;
    QString m_dataPath;
    QHash<QString, QString> m_cache;
};
