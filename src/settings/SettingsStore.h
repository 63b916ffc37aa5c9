#pragma once

#include <QString>
#include <QtGlobal>

// Persistent storage of the settings, one value per call. Every call opens
// the storage, handles one value and closes it again; it returns true only when
// the value was read or written in full. Implementations exist per platform and
// for tests.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // Reads a string value of at most maxBytes bytes (UTF-16, terminator included).
    // A missing value, one that is too long or one that cannot be read returns false
    // and leaves text untouched.
    virtual bool LoadStringSetting(const QString& name, QString& text, int maxBytes) = 0;
    virtual bool SaveStringSetting(const QString& text, const QString& name) = 0;
    virtual bool LoadMinWords(qint32& value) = 0;
    virtual bool SaveMinWords(qint32 value) = 0;
    // A whole number of another name (a 32-bit value, as MinWords).
    virtual bool LoadNumberSetting(const QString& name, qint32& value) = 0;
    virtual bool SaveNumberSetting(qint32 value, const QString& name) = 0;
};
