#pragma once

#include "ComVariant.h"
#include "word/WordStatus.h"

#include <initializer_list>

#include <oaidl.h>

// A counted reference to one object of the word processor's object model, with
// late-bound calls by member name through IDispatch. Every call names the
// interface the object stands for, so that a failure can say where it happened.
class ComDispatch
{
public:
    ComDispatch() = default;
    // Takes over the reference held by object (which may be null).
    ComDispatch(IDispatch* object, const char* interfaceName, const IID& iid);
    ~ComDispatch();
    ComDispatch(const ComDispatch& other);
    ComDispatch& operator=(const ComDispatch& other);

    // Queries unknown for iid; the result is null when the object lacks it. Fails with
    // E_POINTER for a null object.
    static HRESULT Query(IUnknown* unknown, const char* interfaceName, const IID& iid, ComDispatch& out);

    bool isNull() const { return m_object == nullptr; }
    IDispatch* get() const { return m_object; }

    // Reads a property.
    WordStatus Get(const wchar_t* member, ComVariant& result) const;
    // Reads a property that holds an object, asking it for iid. An empty property
    // leaves out null and succeeds.
    WordStatus GetObject(const wchar_t* member, const char* interfaceName, const IID& iid, ComDispatch& out) const;
    WordStatus Put(const wchar_t* member, const ComVariant& value) const;
    // Calls a method with its arguments in their declared order.
    WordStatus Call(const wchar_t* member, std::initializer_list<ComVariant> arguments,
                    ComVariant* result = nullptr) const;

    // A failure of this object's interface, carrying the code and the interface.
    WordStatus Failure(HRESULT hr, const wchar_t* member) const;
    static WordStatus Failure(HRESULT hr, const char* interfaceName, const IID& iid, const wchar_t* member);

private:
    WordStatus Invoke(const wchar_t* member, WORD flags, VARIANT* arguments, UINT count, bool put,
                      ComVariant* result) const;

    IDispatch* m_object = nullptr;
    const char* m_interfaceName = "IDispatch";
    IID m_iid = IID_IDispatch;
};
