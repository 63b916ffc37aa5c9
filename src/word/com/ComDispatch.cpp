#include "ComDispatch.h"

#include <oleauto.h>

#include <vector>

namespace {

QString IidText(const IID& iid)
{
    wchar_t text[40] = {};
    if (StringFromGUID2(iid, text, 40) <= 0)
        return {};
    return QString::fromWCharArray(text);
}

} // namespace

ComDispatch::ComDispatch(IDispatch* object, const char* interfaceName, const IID& iid)
    : m_object(object), m_interfaceName(interfaceName), m_iid(iid)
{
}

ComDispatch::~ComDispatch()
{
    if (m_object)
        m_object->Release();
}

ComDispatch::ComDispatch(const ComDispatch& other)
    : m_object(other.m_object), m_interfaceName(other.m_interfaceName), m_iid(other.m_iid)
{
    if (m_object)
        m_object->AddRef();
}

ComDispatch& ComDispatch::operator=(const ComDispatch& other)
{
    if (other.m_object)
        other.m_object->AddRef();
    if (m_object)
        m_object->Release();
    m_object = other.m_object;
    m_interfaceName = other.m_interfaceName;
    m_iid = other.m_iid;
    return *this;
}

HRESULT ComDispatch::Query(IUnknown* unknown, const char* interfaceName, const IID& iid, ComDispatch& out)
{
    out = ComDispatch(nullptr, interfaceName, iid);
    if (!unknown)
        return E_POINTER;
    // The object model's interfaces are dual: each one is an IDispatch as well.
    IDispatch* object = nullptr;
    const HRESULT hr = unknown->QueryInterface(iid, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(hr) && object)
        out = ComDispatch(object, interfaceName, iid);
    return hr;
}

WordStatus ComDispatch::Failure(HRESULT hr, const char* interfaceName, const IID& iid, const wchar_t* member)
{
    return WordStatus::Failed(
        QStringLiteral(u"Ошибка 0x%1 при вызове %2.%3 (интерфейс %4).")
            .arg(quint32(hr), 8, 16, QChar(u'0'))
            .arg(QString::fromLatin1(interfaceName), QString::fromWCharArray(member), IidText(iid)));
}

WordStatus ComDispatch::Failure(HRESULT hr, const wchar_t* member) const
{
    return Failure(hr, m_interfaceName, m_iid, member);
}

WordStatus ComDispatch::Invoke(const wchar_t* member, WORD flags, VARIANT* arguments, UINT count, bool put,
                               ComVariant* result) const
{
    if (!m_object)
        return Failure(E_POINTER, member);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return Failure(hr, member);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments, put ? &putId : nullptr, count, put ? 1u : 0u};
    EXCEPINFO exception{};
    ComVariant ignored;
    hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                          put ? nullptr : (result ? result->get() : ignored.get()), &exception, nullptr);
    if (exception.bstrDescription || exception.bstrSource || exception.bstrHelpFile) {
        WordStatus status = FAILED(hr) ? Failure(hr, member) : WordStatus::Ok();
        if (!status.ok && exception.bstrDescription)
            status.error += QChar(u' ') + QString::fromWCharArray(exception.bstrDescription);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        return status;
    }
    return FAILED(hr) ? Failure(hr, member) : WordStatus::Ok();
}

WordStatus ComDispatch::Get(const wchar_t* member, ComVariant& result) const
{
    return Invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0, false, &result);
}

WordStatus ComDispatch::GetObject(const wchar_t* member, const char* interfaceName, const IID& iid,
                                  ComDispatch& out) const
{
    out = ComDispatch(nullptr, interfaceName, iid);
    ComVariant value;
    const WordStatus status = Get(member, value);
    if (!status.ok)
        return status;
    IDispatch* object = value.TakeDispatch();
    if (!object)
        return WordStatus::Ok();
    const HRESULT hr = Query(object, interfaceName, iid, out);
    object->Release();
    if (FAILED(hr))
        return Failure(hr, interfaceName, iid, member);
    return WordStatus::Ok();
}

WordStatus ComDispatch::Put(const wchar_t* member, const ComVariant& value) const
{
    ComVariant copy = value;
    return Invoke(member, DISPATCH_PROPERTYPUT, copy.get(), 1, true, nullptr);
}

WordStatus ComDispatch::Call(const wchar_t* member, std::initializer_list<ComVariant> arguments,
                             ComVariant* result) const
{
    // IDispatch takes the arguments last first.
    std::vector<ComVariant> copies(arguments.begin(), arguments.end());
    std::vector<VARIANT> reversed;
    reversed.reserve(copies.size());
    for (auto it = copies.rbegin(); it != copies.rend(); ++it)
        reversed.push_back(*it->get());
    return Invoke(member, DISPATCH_METHOD, reversed.data(), UINT(reversed.size()), false, result);
}
