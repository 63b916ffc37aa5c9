#pragma once

#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

// A fresh settings file in a temporary folder for one test: every settings record
// loaded while it lives comes from it and is saved to it, never to the user's own.
class TempSettings
{
public:
    TempSettings()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_iniPath = m_dir.filePath(QStringLiteral("settings.ini"));
        const QString ini = m_iniPath;
        AppSettings::SetStoreFactory([ini] { return std::make_unique<QtSettingsStore>(ini); });
        AppSettings::Destroy();
    }
    ~TempSettings()
    {
        AppSettings::Destroy();
        AppSettings::SetStoreFactory({});
    }
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString iniPath() const { return m_iniPath; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_iniPath;
};
