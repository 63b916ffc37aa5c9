#pragma once

#include "morph/MorphologyLibrary.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"

#include <QTemporaryDir>

// Gives a test its own settings file with the default values, and the plain
// lower-casing stemmer, so results never depend on the user's configuration.
class TestSettings
{
public:
    TestSettings()
    {
        const QString path = m_dir.filePath(QStringLiteral("Parafrix.conf"));
        AppSettings::SetStoreFactory([path] { return std::make_unique<QtSettingsStore>(path); });
        reset();
    }
    ~TestSettings()
    {
        AppSettings::Destroy();
        AppSettings::SetStoreFactory({});
        MorphologyLibrary::SetTestStemmer({});
    }
    static void reset()
    {
        AppSettings::Destroy();
        AppSettings& settings = AppSettings::Instance();
        settings.Delimiters1 = AppSettings::DefaultDelimiters1();
        settings.Delimiters2 = AppSettings::DefaultDelimiters2();
        settings.MinWords = AppSettings::DefaultMinWords;
        MorphologyLibrary::SetTestStemmer([](const QString& word) { return word; });
    }

private:
    QTemporaryDir m_dir;
};
