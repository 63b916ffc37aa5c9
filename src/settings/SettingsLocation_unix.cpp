#include "settings/QtSettingsStore.h"

// ~/.config/Parafrix/Parafrix.conf (or under $XDG_CONFIG_HOME), INI syntax.
std::unique_ptr<QSettings> OpenUserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Parafrix"),
                                       QStringLiteral("Parafrix"));
}
