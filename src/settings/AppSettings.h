#pragma once

#include "check/CheckOptions.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>

class SettingsStore;

// The process-wide settings record: sentence delimiters, word delimiters, the
// minimum number of words of a sentence, and whether and how near matches are shown. Created and loaded on the first
// Instance() call, changed in memory by the options dialog, written back by Save() when the main window closes. The
// front ends read it and hand the engine a snapshot (checkOptions()) at every Check.
class AppSettings
{
public:
    QString Delimiters1;                         // characters that end a sentence
    QString Delimiters2;                         // characters that separate words
    qint32 MinWords = 0;                         // minimum number of words a sentence needs
    bool NearMatches = DefaultNearMatches;       // the window lists near matches
    qint32 NearThreshold = DefaultNearThreshold; // their lowest similarity, 1..100 percent
    bool RecheckOnSave = DefaultRecheckOnSave;   // the window checks again when a document is saved
    // The documents the window had chosen when it closed: the sources in list order and
    // the copy. Paths longer than a stored string takes are not kept.
    QStringList Sources;
    QString EditedDocument;

    static AppSettings& Instance();
    // Destroys the record; the next Instance() loads it again.
    static void Destroy();
    // Writes the values in the order Delimiters1, Delimiters2, MinWords, NearMatches,
    // NearThreshold, RecheckOnSave, EditedDocument, SourceCount, Source1, Source2...
    // Failures are ignored; the record in memory is unaffected.
    void Save();

    static QString DefaultDelimiters1();
    // The 40-character word delimiter set, ending with a tab.
    static QString DefaultDelimiters2();
    // The same set without its final tab (39 characters), as the options dialog restores it.
    static QString DefaultDelimiters2WithoutTab();
    static constexpr qint32 DefaultMinWords = CheckOptions::DefaultMinWords;
    static constexpr bool DefaultNearMatches = true;
    static constexpr qint32 DefaultNearThreshold = CheckOptions::DefaultNearThreshold;
    static constexpr bool DefaultRecheckOnSave = true;

    // A snapshot of the values for one Check.
    CheckOptions checkOptions() const;
    // The names of the stored values that were missing or that the options dialog could
    // not have stored, and were loaded as their defaults; empty when all were sound.
    QStringList mendedValues() const { return m_mended; }

    // Chooses the storage every later record is loaded from and saved to. Tests and
    // the command-line check's overrides use it; by default the user's store is used.
    using StoreFactory = std::function<std::unique_ptr<SettingsStore>()>;
    static void SetStoreFactory(StoreFactory factory);

private:
    AppSettings() = default;
    void Load();

    QStringList m_mended;
};
