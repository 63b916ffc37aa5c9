#include "ComWordDocument.h"

#include "ComWordRange.h"
#include "WordInterfaces.h"

#include <QDir>

ComWordDocument::ComWordDocument(ComDispatch document) : m_document(std::move(document)) {}

WordStatus ComWordDocument::FullName(QString& name)
{
    ComVariant value;
    const WordStatus status = m_document.Get(L"FullName", value);
    if (status.ok)
        name = QDir::fromNativeSeparators(value.ToString());
    return status;
}

WordStatus ComWordDocument::Content(std::shared_ptr<WordRange>& content)
{
    ComDispatch range;
    const WordStatus status = m_document.GetObject(L"Content", "Range", WordInterfaces::kRange, range);
    if (status.ok && !range.isNull())
        content = std::make_shared<ComWordRange>(range);
    return status;
}

WordStatus ComWordDocument::SelectedText(QString& text)
{
    ComDispatch window;
    WordStatus status = m_document.GetObject(L"ActiveWindow", "Window", WordInterfaces::kWindow, window);
    if (!status.ok || window.isNull())
        return status;
    ComDispatch selection;
    status = window.GetObject(L"Selection", "Selection", WordInterfaces::kSelection, selection);
    if (!status.ok || selection.isNull())
        return status;
    ComVariant value;
    status = selection.Get(L"Text", value);
    if (status.ok)
        text = value.ToString();
    return status;
}

WordStatus ComWordDocument::IsModified(bool& modified)
{
    ComVariant saved;
    const WordStatus status = m_document.Get(L"Saved", saved);
    if (status.ok)
        modified = !saved.ToBool();
    return status;
}

WordStatus ComWordDocument::Save()
{
    // Without arguments: to the document's own file and format, as its Save command does.
    return m_document.Call(L"Save", {});
}
