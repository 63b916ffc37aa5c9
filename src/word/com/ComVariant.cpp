#include "ComVariant.h"

#include <oleauto.h>

ComVariant::ComVariant()
{
    VariantInit(&m_value);
}

ComVariant::~ComVariant()
{
    VariantClear(&m_value);
}

ComVariant::ComVariant(const ComVariant& other)
{
    VariantInit(&m_value);
    VariantCopy(&m_value, const_cast<VARIANT*>(&other.m_value));
}

ComVariant& ComVariant::operator=(const ComVariant& other)
{
    if (this != &other)
        VariantCopy(&m_value, const_cast<VARIANT*>(&other.m_value)); // clears the old value first
    return *this;
}

ComVariant ComVariant::Missing()
{
    ComVariant v;
    V_VT(&v.m_value) = VT_ERROR;
    V_ERROR(&v.m_value) = DISP_E_PARAMNOTFOUND;
    return v;
}

ComVariant ComVariant::String(const QString& text)
{
    ComVariant v;
    V_VT(&v.m_value) = VT_BSTR;
    V_BSTR(&v.m_value) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), UINT(text.size()));
    return v;
}

ComVariant ComVariant::Bool(bool value)
{
    ComVariant v;
    V_VT(&v.m_value) = VT_BOOL;
    V_BOOL(&v.m_value) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

ComVariant ComVariant::Long(qint32 value)
{
    ComVariant v;
    V_VT(&v.m_value) = VT_I4;
    V_I4(&v.m_value) = value;
    return v;
}

QString ComVariant::ToString() const
{
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&m_value), 0, VT_BSTR)))
        return {};
    const BSTR b = V_BSTR(&text);
    QString result = b ? QString::fromUtf16(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : QString();
    VariantClear(&text);
    return result;
}

qint32 ComVariant::ToLong() const
{
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&m_value), 0, VT_I4)))
        return 0;
    return V_I4(&number);
}

bool ComVariant::ToBool() const
{
    return V_VT(&m_value) == VT_BOOL && V_BOOL(&m_value) != VARIANT_FALSE;
}

IDispatch* ComVariant::TakeDispatch()
{
    IDispatch* result = nullptr;
    if (V_VT(&m_value) == VT_DISPATCH && V_DISPATCH(&m_value))
        result = V_DISPATCH(&m_value);
    else if (V_VT(&m_value) == VT_UNKNOWN && V_UNKNOWN(&m_value))
        V_UNKNOWN(&m_value)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result));
    else
        return nullptr;
    if (V_VT(&m_value) == VT_DISPATCH)
        result->AddRef();
    return result;
}
