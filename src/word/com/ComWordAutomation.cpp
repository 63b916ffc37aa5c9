#include "ComWordAutomation.h"

#include "ComDispatch.h"
#include "ComWordApplication.h"
#include "WordInterfaces.h"

#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

namespace {

WordStatus ProgIdFailure(HRESULT hr, const QString& progId)
{
    return WordStatus::Failed(QStringLiteral(u"Текстовый процессор «%1» не зарегистрирован в системе (0x%2).")
                                  .arg(progId)
                                  .arg(quint32(hr), 8, 16, QChar(u'0')));
}

} // namespace

ComWordAutomation::ComWordAutomation(QString progId) : m_progId(std::move(progId))
{
    // S_FALSE (the thread already is an apartment, as Qt's GUI thread is) must be
    // balanced too; a thread of the other model stays as it is.
    m_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComWordAutomation::~ComWordAutomation()
{
    if (m_comInitialised)
        CoUninitialize();
}

WordStatus ComWordAutomation::GetActiveObject(std::shared_ptr<WordApplication>& application)
{
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(m_progId.utf16()), &clsid);
    if (FAILED(hr))
        return ProgIdFailure(hr, m_progId);
    IUnknown* unknown = nullptr;
    hr = ::GetActiveObject(clsid, nullptr, &unknown);
    if (FAILED(hr) || !unknown)
        return ComDispatch::Failure(FAILED(hr) ? hr : E_POINTER, "IUnknown", IID_IUnknown, L"GetActiveObject");
    ComDispatch app;
    hr = ComDispatch::Query(unknown, "_Application", WordInterfaces::kApplication, app);
    unknown->Release();
    if (FAILED(hr) || app.isNull())
        return ComDispatch::Failure(FAILED(hr) ? hr : E_NOINTERFACE, "_Application", WordInterfaces::kApplication,
                                    L"QueryInterface");
    application = std::make_shared<ComWordApplication>(app);
    return WordStatus::Ok();
}

WordStatus ComWordAutomation::CreateInstance(std::shared_ptr<WordApplication>& application, bool& started)
{
    started = false;
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(m_progId.utf16()), &clsid);
    if (FAILED(hr))
        return ProgIdFailure(hr, m_progId);
    IUnknown* unknown = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr) || !unknown)
        return ComDispatch::Failure(FAILED(hr) ? hr : E_POINTER, "IUnknown", IID_IUnknown, L"CoCreateInstance");
    hr = OleRun(unknown);
    if (FAILED(hr)) {
        unknown->Release();
        return ComDispatch::Failure(hr, "IUnknown", IID_IUnknown, L"OleRun");
    }
    ComDispatch app;
    hr = ComDispatch::Query(unknown, "_Application", WordInterfaces::kApplication, app);
    unknown->Release();
    // An instance that came up without the application interface is still ours: it
    // is listed (as an empty entry) and the operation goes on without it.
    if (FAILED(hr) && hr != E_NOINTERFACE)
        return ComDispatch::Failure(hr, "_Application", WordInterfaces::kApplication, L"QueryInterface");
    started = true;
    if (!app.isNull())
        application = std::make_shared<ComWordApplication>(app);
    return WordStatus::Ok();
}
