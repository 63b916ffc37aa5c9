#include "settings/QtSettingsStore.h"

// The key HKEY_CURRENT_USER\Software\Parafrix: strings as REG_SZ, MinWords as REG_DWORD.
std::unique_ptr<QSettings> OpenUserSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Parafrix"),
                                       QSettings::NativeFormat);
}
