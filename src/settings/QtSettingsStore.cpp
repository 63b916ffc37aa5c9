#include "settings/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString& iniPath) : m_iniPath(iniPath) {}

std::unique_ptr<QSettings> QtSettingsStore::Open() const
{
    if (m_iniPath.isEmpty())
        return OpenUserSettings();
    return std::make_unique<QSettings>(m_iniPath, QSettings::IniFormat);
}

QString QtSettingsStore::location() const
{
    return Open()->fileName();
}

bool QtSettingsStore::LoadStringSetting(const QString& name, QString& text, int maxBytes)
{
    auto settings = Open();
    if (settings->status() != QSettings::NoError)
        return false;
    const QVariant value = settings->value(name);
    if (!value.isValid())
        return false;
    QString read = value.toString();
    // A stored string is taken up to its first NUL, as a C string would be.
    const qsizetype nul = read.indexOf(QChar(u'\0'));
    if (nul >= 0)
        read.truncate(nul);
    if (2 * (read.size() + 1) > maxBytes)
        return false;
    text = read;
    return true;
}

bool QtSettingsStore::SaveStringSetting(const QString& text, const QString& name)
{
    auto settings = Open();
    settings->setValue(name, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool QtSettingsStore::LoadMinWords(qint32& value)
{
    return LoadNumberSetting(QStringLiteral("MinWords"), value);
}

bool QtSettingsStore::LoadNumberSetting(const QString& name, qint32& value)
{
    auto settings = Open();
    if (settings->status() != QSettings::NoError)
        return false;
    const QVariant stored = settings->value(name);
    if (!stored.isValid())
        return false;
    bool ok = false;
    const qlonglong number = stored.toLongLong(&ok);
    if (!ok)
        return false;
    // A 32-bit value: larger numbers keep their low 32 bits, as a DWORD read would.
    value = static_cast<qint32>(static_cast<quint32>(number));
    return true;
}

bool QtSettingsStore::SaveMinWords(qint32 value)
{
    return SaveNumberSetting(value, QStringLiteral("MinWords"));
}

bool QtSettingsStore::SaveNumberSetting(qint32 value, const QString& name)
{
    auto settings = Open();
    settings->setValue(name, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}
