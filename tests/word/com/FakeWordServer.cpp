// fakewordserver.dll: an in-process automation server that answers to the calls
// the program makes into the word processor's object model, keeps a little state
// (instances, open documents, selection) and writes every call to a log.
// Plain Win32: it stands for a program that knows nothing of Qt.
#include "FakeWordServer.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// {6A1C7F2E-5B3D-4E8A-9C41-2F7D8B0E6A13}
const CLSID kFakeClsid{0x6a1c7f2e, 0x5b3d, 0x4e8a, {0x9c, 0x41, 0x2f, 0x7d, 0x8b, 0x0e, 0x6a, 0x13}};
const wchar_t kFakeClsidText[] = L"{6A1C7F2E-5B3D-4E8A-9C41-2F7D8B0E6A13}";

// The object model's interface identifiers, ...-0000-C000-000000000046.
IID WordIid(unsigned long first)
{
    return IID{first, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}

// What the word processor answers when no document is open.
constexpr HRESULT kNoDocument = HRESULT(0x800A1098);
constexpr HRESULT kDisconnected = HRESULT(0x80010108); // RPC_E_DISCONNECTED

HMODULE g_module = nullptr;

struct Document;

struct Application
{
    int id = 0;
    bool ended = false;
    bool visible = false;
    DWORD rotCookie = 0;
    std::vector<std::shared_ptr<Document>> documents;
    std::shared_ptr<Document> active;
};

struct Document
{
    Application* application = nullptr;
    std::wstring path;
    std::wstring text;
    std::wstring selection;
    // No changes since the last save.
    bool saved = true;
};

struct Range
{
    std::shared_ptr<Document> document;
    size_t start = 0;
    size_t end = 0;
};

struct World
{
    std::vector<std::wstring> log;
    std::wstring joined;
    std::map<std::wstring, std::wstring> files;
    std::map<std::wstring, int> options;
    std::vector<std::shared_ptr<Application>> applications;
};

World& TheWorld()
{
    static World world;
    return world;
}

int Option(const wchar_t* name)
{
    auto it = TheWorld().options.find(name);
    return it == TheWorld().options.end() ? 0 : it->second;
}

std::wstring Describe(const VARIANT& v)
{
    switch (V_VT(&v)) {
    case VT_BSTR:
        return V_BSTR(&v) ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : std::wstring();
    case VT_BOOL:
        return V_BOOL(&v) ? L"true" : L"false";
    case VT_I4:
        return std::to_wstring(V_I4(&v));
    case VT_I2:
        return std::to_wstring(V_I2(&v));
    case VT_ERROR:
        return V_ERROR(&v) == DISP_E_PARAMNOTFOUND ? L"-" : L"error";
    default:
        return L"vt" + std::to_wstring(V_VT(&v));
    }
}

// The idx-th argument in declared order (IDispatch passes them last first).
const VARIANT* Argument(const DISPPARAMS* params, UINT idx)
{
    if (!params || idx >= params->cArgs)
        return nullptr;
    return &params->rgvarg[params->cArgs - 1 - idx];
}

std::wstring ArgumentText(const DISPPARAMS* params, UINT idx)
{
    const VARIANT* v = Argument(params, idx);
    return v ? Describe(*v) : std::wstring();
}

enum class Kind
{
    Application,
    Documents,
    Document,
    Range,
    Find,
    Window,
    Selection,
};

struct KindInfo
{
    const wchar_t* name;
    unsigned long iid;
    std::vector<const wchar_t*> members;
};

const KindInfo& Info(Kind kind)
{
    static const std::map<Kind, KindInfo> infos{
        {Kind::Application, {L"Application", 0x00020970, {L"Documents", L"ActiveDocument", L"Visible", L"Quit"}}},
        {Kind::Documents, {L"Documents", 0x0002096C, {L"Open", L"Count", L"Item"}}},
        {Kind::Document, {L"Document", 0x0002096B, {L"FullName", L"Content", L"ActiveWindow", L"Saved", L"Save"}}},
        {Kind::Range, {L"Range", 0x0002095E, {L"Find", L"Select", L"Text"}}},
        {Kind::Find, {L"Find", 0x000209B0, {L"Forward", L"Wrap", L"Execute"}}},
        {Kind::Window, {L"Window", 0x00020962, {L"Selection"}}},
        {Kind::Selection, {L"Selection", 0x00020975, {L"Text"}}},
    };
    return infos.at(kind);
}

HRESULT ReturnString(VARIANT* result, const std::wstring& text)
{
    if (result) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(text.data(), UINT(text.size()));
    }
    return S_OK;
}

HRESULT Fail(EXCEPINFO* exception, HRESULT code, const wchar_t* description)
{
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = code;
        exception->bstrSource = SysAllocString(L"FakeWord");
        exception->bstrDescription = SysAllocString(description);
    }
    return DISP_E_EXCEPTION;
}

class FakeObject final : public IDispatch
{
public:
    FakeObject(Kind kind, std::shared_ptr<Application> application)
        : m_kind(kind), m_application(std::move(application))
    {
    }

    std::shared_ptr<Document> document;
    std::shared_ptr<Range> range;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const bool own = IsEqualIID(riid, WordIid(Info(m_kind).iid));
        if (own && m_kind == Kind::Application && Option(L"noApplicationInterface"))
            return E_NOINTERFACE;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !own)
            return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return ULONG(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || !names || !ids)
            return E_INVALIDARG;
        const auto& members = Info(m_kind).members;
        for (size_t i = 0; i < members.size(); ++i) {
            if (_wcsicmp(members[i], names[0]) == 0) {
                ids[0] = DISPID(i + 1);
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        const auto& members = Info(m_kind).members;
        if (id < 1 || size_t(id) > members.size())
            return DISP_E_MEMBERNOTFOUND;
        const std::wstring member = members[size_t(id) - 1];
        std::wstring entry = L"#" + std::to_wstring(m_application->id) + L" " + Info(m_kind).name + L"." + member;
        if (flags & DISPATCH_PROPERTYPUT) {
            entry += L"=" + ArgumentText(params, 0);
        } else if (params && params->cArgs > 0) {
            entry += L"(";
            for (UINT i = 0; i < params->cArgs; ++i)
                entry += (i ? L"," : L"") + ArgumentText(params, i);
            entry += L")";
        }
        if (m_application->ended)
            entry += L" -> disconnected";
        TheWorld().log.push_back(entry);
        if (m_application->ended)
            return kDisconnected;
        if (result)
            VariantInit(result);
        return Dispatch(member, params, result, exception);
    }

private:
    HRESULT ReturnObject(VARIANT* result, FakeObject* object)
    {
        if (!result) {
            object->Release();
            return S_OK;
        }
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = object;
        return S_OK;
    }

    HRESULT Dispatch(const std::wstring& member, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception)
    {
        Application& app = *m_application;
        switch (m_kind) {
        case Kind::Application:
            if (member == L"Documents")
                return ReturnObject(result, new FakeObject(Kind::Documents, m_application));
            if (member == L"ActiveDocument") {
                if (!app.active)
                    return Fail(exception, kNoDocument, L"No document is open.");
                auto* object = new FakeObject(Kind::Document, m_application);
                object->document = app.active;
                return ReturnObject(result, object);
            }
            if (member == L"Visible") {
                const VARIANT* v = Argument(params, 0);
                app.visible = v && V_VT(v) == VT_BOOL && V_BOOL(v);
                return S_OK;
            }
            if (member == L"Quit") {
                if (Option(L"refuseQuit"))
                    return Fail(exception, HRESULT(0x800A1066), L"The user cancelled.");
                app.ended = true;
                if (app.rotCookie) {
                    RevokeActiveObject(app.rotCookie, nullptr);
                    app.rotCookie = 0;
                }
                return S_OK;
            }
            break;
        case Kind::Documents: {
            if (member == L"Count") {
                if (result) {
                    V_VT(result) = VT_I4;
                    V_I4(result) = LONG(app.documents.size());
                }
                return S_OK;
            }
            if (member == L"Item") {
                const VARIANT* v = Argument(params, 0);
                const LONG index = v && V_VT(v) == VT_I4 ? V_I4(v) : 0;
                if (index < 1 || size_t(index) > app.documents.size())
                    return Fail(exception, DISP_E_BADINDEX, L"No such document.");
                auto* object = new FakeObject(Kind::Document, m_application);
                object->document = app.documents[size_t(index) - 1];
                return ReturnObject(result, object);
            }
            const std::wstring path = ArgumentText(params, 0);
            for (const auto& doc : app.documents) {
                if (doc->path == path) {
                    app.active = doc;
                    auto* object = new FakeObject(Kind::Document, m_application);
                    object->document = doc;
                    return ReturnObject(result, object);
                }
            }
            auto file = TheWorld().files.find(path);
            if (file == TheWorld().files.end())
                return Fail(exception, HRESULT(0x800A1436), L"The file could not be found.");
            auto doc = std::make_shared<Document>();
            doc->application = &app;
            doc->path = path;
            doc->text = file->second;
            // As if the student had typed in it since.
            doc->saved = !Option(L"opensModified");
            app.documents.push_back(doc);
            app.active = doc;
            auto* object = new FakeObject(Kind::Document, m_application);
            object->document = doc;
            return ReturnObject(result, object);
        }
        case Kind::Document:
            if (member == L"FullName")
                return ReturnString(result, document->path);
            if (member == L"Content") {
                auto* object = new FakeObject(Kind::Range, m_application);
                object->range = std::make_shared<Range>(Range{document, 0, document->text.size()});
                return ReturnObject(result, object);
            }
            if (member == L"Saved") {
                if (result) {
                    V_VT(result) = VT_BOOL;
                    V_BOOL(result) = document->saved ? VARIANT_TRUE : VARIANT_FALSE;
                }
                return S_OK;
            }
            if (member == L"Save") {
                document->saved = true;
                return S_OK;
            }
            if (member == L"ActiveWindow") {
                auto* object = new FakeObject(Kind::Window, m_application);
                object->document = document;
                return ReturnObject(result, object);
            }
            break;
        case Kind::Window: {
            auto* object = new FakeObject(Kind::Selection, m_application);
            object->document = document;
            return ReturnObject(result, object);
        }
        case Kind::Selection:
            return ReturnString(result, document->selection);
        case Kind::Range:
            if (member == L"Find") {
                auto* object = new FakeObject(Kind::Find, m_application);
                object->range = range;
                return ReturnObject(result, object);
            }
            if (member == L"Select") {
                range->document->selection = range->document->text.substr(range->start, range->end - range->start);
                return S_OK;
            }
            if (member == L"Text")
                return ReturnString(result, range->document->text.substr(range->start, range->end - range->start));
            break;
        case Kind::Find:
            if (member == L"Forward" || member == L"Wrap")
                return S_OK;
            if (member == L"Execute") {
                const std::wstring text = ArgumentText(params, 0);
                const std::wstring& all = range->document->text;
                const size_t at = text.empty() ? std::wstring::npos : all.find(text, range->start);
                const bool found = at != std::wstring::npos && at + text.size() <= range->end;
                if (found) {
                    range->start = at;
                    range->end = at + text.size();
                }
                if (result) {
                    V_VT(result) = VT_BOOL;
                    V_BOOL(result) = found ? VARIANT_TRUE : VARIANT_FALSE;
                }
                return S_OK;
            }
            break;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    LONG m_refs = 1;
    Kind m_kind;
    std::shared_ptr<Application> m_application;
};

class ClassFactory final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // A static object: counting does not free it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // A new instance, entered in the running object table as the real one is when it starts.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        World& world = TheWorld();
        auto app = std::make_shared<Application>();
        app->id = int(world.applications.size()) + 1;
        world.applications.push_back(app);
        world.log.push_back(L"#" + std::to_wstring(app->id) + L" started");
        auto* object = new FakeObject(Kind::Application, app);
        RegisterActiveObject(object, kFakeClsid, ACTIVEOBJECT_STRONG, &app->rotCookie);
        // The application interface is refused on request; IUnknown never is.
        const HRESULT hr = object->QueryInterface(riid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ClassFactory g_factory;

std::wstring ClassesKey(const std::wstring& tail)
{
    return L"Software\\Classes\\" + tail;
}

LSTATUS SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    HKEY k = nullptr;
    LSTATUS s = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    if (s != ERROR_SUCCESS)
        return s;
    s = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return s;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!IsEqualCLSID(clsid, kFakeClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

// The tests hold the DLL loaded for as long as they use it.
__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

__declspec(dllexport) HRESULT WINAPI FakeWordServer_Register(const wchar_t* progId, int perMachine)
{
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(g_module, path, DWORD(std::size(path)));
    if (n == 0 || n >= std::size(path))
        return E_FAIL;
    const HKEY root = perMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    LSTATUS s = SetString(root, ClassesKey(progId), nullptr, L"Fake word processor");
    if (s == ERROR_SUCCESS)
        s = SetString(root, ClassesKey(std::wstring(progId) + L"\\CLSID"), nullptr, kFakeClsidText);
    const std::wstring clsidKey = ClassesKey(std::wstring(L"CLSID\\") + kFakeClsidText);
    if (s == ERROR_SUCCESS)
        s = SetString(root, clsidKey + L"\\ProgID", nullptr, progId);
    if (s == ERROR_SUCCESS)
        s = SetString(root, clsidKey + L"\\InprocServer32", nullptr, path);
    if (s == ERROR_SUCCESS)
        s = SetString(root, clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return HRESULT_FROM_WIN32(s);
}

__declspec(dllexport) HRESULT WINAPI FakeWordServer_Unregister(const wchar_t* progId, int perMachine)
{
    const HKEY root = perMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    RegDeleteTreeW(root, ClassesKey(progId).c_str());
    RegDeleteTreeW(root, ClassesKey(std::wstring(L"CLSID\\") + kFakeClsidText).c_str());
    return S_OK;
}

__declspec(dllexport) void WINAPI FakeWordServer_Reset()
{
    World& world = TheWorld();
    for (auto& app : world.applications) {
        if (app->rotCookie)
            RevokeActiveObject(app->rotCookie, nullptr);
        app->rotCookie = 0;
        app->ended = true;
    }
    world.applications.clear();
    world.files.clear();
    world.options.clear();
    world.log.clear();
}

__declspec(dllexport) void WINAPI FakeWordServer_AddFile(const wchar_t* path, const wchar_t* text)
{
    TheWorld().files[path] = text;
}

__declspec(dllexport) void WINAPI FakeWordServer_SetOption(const wchar_t* name, int value)
{
    TheWorld().options[name] = value;
}

__declspec(dllexport) const wchar_t* WINAPI FakeWordServer_Log()
{
    World& world = TheWorld();
    world.joined.clear();
    for (const auto& line : world.log)
        world.joined += line + L"\n";
    return world.joined.c_str();
}

__declspec(dllexport) int WINAPI FakeWordServer_Started()
{
    return int(TheWorld().applications.size());
}

} // extern "C"
