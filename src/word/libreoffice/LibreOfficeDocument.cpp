#include "LibreOfficeDocument.h"

#include "LibreOfficeRange.h"

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <osl/file.hxx>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

LibreOfficeDocument::LibreOfficeDocument(UnoShared shared, std::shared_ptr<Refs> refs)
    : m_shared(std::move(shared)), m_refs(std::move(refs))
{
}

WordStatus LibreOfficeDocument::FullName(QString& name)
{
    auto out = std::make_shared<QString>();
    const WordStatus status = UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, out] {
        const OUString url = refs->model->getURL();
        // A new document has no file yet.
        if (url.isEmpty())
            return WordStatus::Ok();
        OUString path;
        if (osl::FileBase::getSystemPathFromFileURL(url, path) != osl::FileBase::E_None)
            *out = UnoCall::ToQString(url);
        else
            *out = UnoCall::ToQString(path);
        return WordStatus::Ok();
    });
    if (status.ok)
        name = *out;
    return status;
}

WordStatus LibreOfficeDocument::Content(std::shared_ptr<WordRange>& content)
{
    auto rangeRefs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeRange::Refs);
    auto isText = std::make_shared<bool>(false);
    const WordStatus status =
        UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, rangeRefs, isText] {
            // Only a text document has a main text to search.
            Reference<css::text::XTextDocument> text(refs->model, UNO_QUERY);
            *isText = text.is();
            rangeRefs->model = refs->model;
            return WordStatus::Ok();
        });
    if (status.ok && *isText)
        content = std::make_shared<LibreOfficeRange>(m_shared, rangeRefs);
    return status;
}

WordStatus LibreOfficeDocument::SelectedText(QString& text)
{
    auto out = std::make_shared<QString>();
    const WordStatus status = UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, out] {
        Reference<css::text::XTextViewCursorSupplier> supplier(refs->model->getCurrentController(), UNO_QUERY);
        if (!supplier.is())
            return WordStatus::Failed(QStringLiteral(u"У документа нет окна."));
        Reference<css::text::XTextViewCursor> cursor = supplier->getViewCursor();
        if (cursor.is())
            *out = UnoCall::ToQString(cursor->getString());
        return WordStatus::Ok();
    });
    if (status.ok)
        text = *out;
    return status;
}

WordStatus LibreOfficeDocument::IsModified(bool& modified)
{
    auto out = std::make_shared<bool>(false);
    const WordStatus status = UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs, out] {
        Reference<css::util::XModifiable> modifiable(refs->model, UNO_QUERY);
        *out = modifiable.is() && modifiable->isModified();
        return WordStatus::Ok();
    });
    if (status.ok)
        modified = *out;
    return status;
}

WordStatus LibreOfficeDocument::Save()
{
    return UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs] {
        Reference<css::frame::XStorable> storable(refs->model, UNO_QUERY);
        if (!storable.is() || !storable->hasLocation() || storable->isReadonly())
            return WordStatus::Failed(QStringLiteral(u"Документ нельзя сохранить в его файл."));
        // To its own file in its own format, asking nothing (a .docx stays a .docx).
        storable->store();
        return WordStatus::Ok();
    });
}
