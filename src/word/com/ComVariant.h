#pragma once

#include <QString>

#include <oaidl.h>

// One automation argument or result, cleared when it goes. Strings travel as
// BSTR, truth values as VARIANT_BOOL, left-out optional arguments as the
// standard "parameter not found" error value.
class ComVariant
{
public:
    ComVariant();
    ~ComVariant();
    ComVariant(const ComVariant& other);
    ComVariant& operator=(const ComVariant& other);

    static ComVariant Missing();
    static ComVariant String(const QString& text);
    static ComVariant Bool(bool value);
    static ComVariant Long(qint32 value);

    VARIANT* get() { return &m_value; }
    const VARIANT* get() const { return &m_value; }
    // The string held (after conversion where possible); empty for anything else.
    QString ToString() const;
    // The whole number held (after conversion where possible); 0 for anything else.
    qint32 ToLong() const;
    // The truth value held; false for anything that is not one.
    bool ToBool() const;
    // The object held, with a reference of its own; null when there is none.
    IDispatch* TakeDispatch();

private:
    VARIANT m_value;
};
