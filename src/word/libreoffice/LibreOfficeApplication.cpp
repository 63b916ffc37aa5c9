#include "LibreOfficeApplication.h"

#include "LibreOfficeDocument.h"
#include "word/SameFile.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <osl/file.hxx>

#include <QFileInfo>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// More open components than any student has: the rest are not looked at.
constexpr int MaxComponents = 1000;

} // namespace

LibreOfficeApplication::LibreOfficeApplication(UnoShared shared, std::shared_ptr<Refs> refs)
    : m_shared(std::move(shared)), m_refs(std::move(refs))
{
}

WordStatus LibreOfficeApplication::ActiveDocument(std::shared_ptr<WordDocument>& document)
{
    auto documentRefs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeDocument::Refs);
    const WordStatus status = UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, documentRefs] {
        // The start centre is a component but not a document.
        Reference<css::frame::XModel> model(refs->desktop->getCurrentComponent(), UNO_QUERY);
        if (!model.is())
            return WordStatus::Failed(QStringLiteral(u"Нет открытого документа."));
        documentRefs->model = model;
        refs->document = model;
        return WordStatus::Ok();
    });
    if (status.ok)
        document = std::make_shared<LibreOfficeDocument>(m_shared, documentRefs);
    return status;
}

WordStatus LibreOfficeApplication::OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    if (!QFileInfo(path).isFile())
        return WordStatus::Failed(QStringLiteral(u"Файл не найден: %1").arg(path));
    auto documentRefs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeDocument::Refs);
    const WordStatus status =
        UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, documentRefs, path] {
            OUString url;
            osl::FileBase::getFileURLFromSystemPath(UnoCall::ToOUString(path), url);
            Reference<css::frame::XComponentLoader> loader(refs->desktop, css::uno::UNO_QUERY_THROW);
            // "_default" hands back the document when it is open already, without a second window.
            Reference<css::frame::XModel> model(loader->loadComponentFromURL(url, OUString("_default"), 0, {}),
                                                UNO_QUERY);
            if (!model.is())
                return WordStatus::Failed(QStringLiteral(u"Текстовый процессор не открыл файл %1").arg(path));
            documentRefs->model = model;
            refs->document = model;
            return WordStatus::Ok();
        });
    if (status.ok)
        document = std::make_shared<LibreOfficeDocument>(m_shared, documentRefs);
    return status;
}

WordStatus LibreOfficeApplication::FindDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    auto documentRefs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeDocument::Refs);
    auto found = std::make_shared<bool>(false);
    const WordStatus status =
        UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, documentRefs, found, path] {
            // Every component, hidden ones too; the current one may be another document.
            Reference<css::container::XEnumerationAccess> components = refs->desktop->getComponents();
            if (!components.is())
                return WordStatus::Ok();
            Reference<css::container::XEnumeration> each = components->createEnumeration();
            for (int seen = 0; each.is() && each->hasMoreElements() && seen < MaxComponents; ++seen) {
                Reference<css::frame::XModel> model(each->nextElement(), UNO_QUERY);
                if (!model.is() || model->getURL().isEmpty())
                    continue;
                OUString system;
                if (osl::FileBase::getSystemPathFromFileURL(model->getURL(), system) != osl::FileBase::E_None)
                    continue;
                if (SameDocumentFile(UnoCall::ToQString(system), path)) {
                    documentRefs->model = model;
                    *found = true;
                    break;
                }
            }
            return WordStatus::Ok();
        });
    if (status.ok && *found)
        document = std::make_shared<LibreOfficeDocument>(m_shared, documentRefs);
    return status;
}

WordStatus LibreOfficeApplication::SetVisible(bool visible)
{
    return UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, visible] {
        if (!refs->document.is())
            return WordStatus::Ok();
        Reference<css::frame::XController> controller = refs->document->getCurrentController();
        if (!controller.is())
            return WordStatus::Ok();
        Reference<css::frame::XFrame> frame = controller->getFrame();
        if (!frame.is())
            return WordStatus::Ok();
        Reference<css::awt::XWindow> window = frame->getContainerWindow();
        if (window.is())
            window->setVisible(visible);
        if (visible) {
            Reference<css::awt::XTopWindow> top(window, UNO_QUERY);
            if (top.is())
                top->toFront();
            frame->activate();
        }
        return WordStatus::Ok();
    });
}

QuitStatus LibreOfficeApplication::RequestQuit()
{
    const auto quit = [refs = m_refs] {
        refs->document.clear();
        try {
            // A visible office asks about unsaved documents here and returns only once the
            // user has answered; false is the user's Cancel.
            return refs->desktop->terminate() ? QuitStatus::Quit : QuitStatus::Refused;
        } catch (const css::uno::RuntimeException&) {
            // Disposed, or the bridge dropped: the office went away while answering.
            return QuitStatus::Quit;
        }
    };
    return m_shared.quit->Request(*m_shared.worker, quit, std::chrono::milliseconds(m_shared.options.quitAnswerWaitMs));
}

QuitStatus LibreOfficeApplication::PollQuit()
{
    return m_shared.quit->Status();
}
