#pragma once

#include <QString>
#include <functional>

// The process-wide adapter of the morphology library: loaded once before the window
// exists, closed and unloaded at exit. GetStem returns a stem for every word; while
// no library is loaded it returns the word unchanged (callers pass it lower-cased).
class MorphologyLibrary
{
public:
    static MorphologyLibrary& Instance();

    // Loads the library and opens its data file. Safe to call more than once.
    void Load();
    // Closes and unloads only what was opened and loaded.
    void Unload();
    bool isLoaded() const;

    // The stem of one lower-cased word; never changes case itself.
    QString GetStem(const QString& word);

    // Replaces the library with a function, for tests that need controlled stems.
    // An empty function restores the library.
    using StemFunction = std::function<QString(const QString&)>;
    static void SetTestStemmer(StemFunction stemmer);

private:
    MorphologyLibrary() = default;
    StemFunction m_testStemmer;
};
