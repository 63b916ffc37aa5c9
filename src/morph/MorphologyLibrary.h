#pragma once

#include "morph/Stemmer.h"

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <cstdint>

// The process-wide adapter of the morphology library: loaded once by a front end
// before its first Check, closed and unloaded at exit, and handed to the engine as
// its Stemmer. GetStem returns a stem for every word; while no library is loaded it
// returns the word unchanged (callers pass it lower-cased). Used from one thread only.
class MorphologyLibrary final : public Stemmer
{
public:
    static MorphologyLibrary& Instance();

    // Loads "mhelper" from the program's folder or the installed library folder, else
    // through the platform's library search, and opens "mhelper.dat" from the program's
    // folder, else from the installed data folder (see InstallLayout). Safe to call
    // more than once. False when words will be stemmed less well than they should (no
    // library, or no dictionary): the reason is then in loadProblem(), for the front
    // end to show.
    bool Load();
    // The same with explicit candidates, tried in order: the first library that loads
    // and the first data file that exists (or the first one named, when none does).
    bool LoadFrom(const QStringList& libraryCandidates, const QStringList& dataCandidates);
    // Why the last load left words without their proper stems; empty when it did not.
    QString loadProblem() const { return m_loadProblem; }
    // Closes and unloads only what was opened and loaded.
    void Unload();
    bool isLoaded() const;
    // Whether the library stems with its dictionary rather than suffix rules alone.
    bool hasDictionary() const { return m_hasDictionary; }
    // The data file handed to the library, empty when none was.
    QString dataPath() const { return m_dataPath; }

    // The stem of one lower-cased word; never changes case itself. A word too long for
    // the library's stem buffer is its own stem, so long words that differ only near
    // their ends never share one. Not cached: a Check stems each distinct word once.
    QString GetStem(const QString& word) override;

private:
    MorphologyLibrary() = default;
    ~MorphologyLibrary() override;
    MorphologyLibrary(const MorphologyLibrary&) = delete;
    MorphologyLibrary& operator=(const MorphologyLibrary&) = delete;

    using OpenFn = uint32_t (*)(const char*);
    using CalcFn = int32_t (*)(uint32_t, const char*, char*, int32_t*);
    using CloseFn = int32_t (*)(uint32_t);

    QString CalcStem(const QString& word) const;
    bool Fail(const QString& problem);

    QLibrary m_library;
    OpenFn m_open = nullptr;
    CalcFn m_calc = nullptr;
    CloseFn m_close = nullptr;
    uint32_t m_handle = 0;
    bool m_opened = false;
    bool m_hasDictionary = false;
    QString m_loadProblem;
    QString m_dataPath;
};
