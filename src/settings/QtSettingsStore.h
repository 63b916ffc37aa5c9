#pragma once

#include "settings/SettingsStore.h"

#include <QSettings>
#include <memory>

// SettingsStore over QSettings: the registry key "Software\Parafrix" of the current
// user on Windows, an INI file in the user's config folder elsewhere. A store built
// on an explicit file is what tests use.
class QtSettingsStore : public SettingsStore
{
public:
    // The user's own settings location for this platform.
    QtSettingsStore();
    // An INI file at the given path (tests, portable set-ups).
    explicit QtSettingsStore(const QString& iniPath);

    bool LoadStringSetting(const QString& name, QString& text, int maxBytes) override;
    bool SaveStringSetting(const QString& text, const QString& name) override;
    bool LoadMinWords(qint32& value) override;
    bool SaveMinWords(qint32 value) override;
    bool LoadNumberSetting(const QString& name, qint32& value) override;
    bool SaveNumberSetting(qint32 value, const QString& name) override;

    // Where the values live, for messages and the README.
    QString location() const;

private:
    std::unique_ptr<QSettings> Open() const;
    QString m_iniPath;
};

// Builds the QSettings of the user's platform-specific settings location.
std::unique_ptr<QSettings> OpenUserSettings();
