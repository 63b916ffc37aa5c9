#include "ComWordApplication.h"

#include "ComWordDocument.h"
#include "WordInterfaces.h"
#include "word/SameFile.h"

#include <QDir>
#include <algorithm>

ComWordApplication::ComWordApplication(ComDispatch application) : m_application(std::move(application)) {}

WordStatus ComWordApplication::ActiveDocument(std::shared_ptr<WordDocument>& document)
{
    ComDispatch active;
    const WordStatus status =
        m_application.GetObject(L"ActiveDocument", "_Document", WordInterfaces::kDocument, active);
    if (status.ok && !active.isNull())
        document = std::make_shared<ComWordDocument>(active);
    return status;
}

WordStatus ComWordApplication::OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    ComDispatch documents;
    WordStatus status = m_application.GetObject(L"Documents", "Documents", WordInterfaces::kDocuments, documents);
    if (!status.ok)
        return status;
    if (documents.isNull())
        return WordStatus::Failed(QStringLiteral(u"Текстовый процессор не дал списка документов."));
    // The ten-argument Open of every version of the object model, with only the file given.
    const ComVariant missing = ComVariant::Missing();
    ComVariant opened;
    status = documents.Call(L"Open",
                            {ComVariant::String(QDir::toNativeSeparators(path)), missing, missing, missing, missing,
                             missing, missing, missing, missing, missing},
                            &opened);
    if (!status.ok)
        return status;
    IDispatch* object = opened.TakeDispatch();
    if (!object)
        return WordStatus::Ok();
    ComDispatch result;
    const HRESULT hr = ComDispatch::Query(object, "_Document", WordInterfaces::kDocument, result);
    object->Release();
    if (FAILED(hr))
        return ComDispatch::Failure(hr, "_Document", WordInterfaces::kDocument, L"QueryInterface");
    document = std::make_shared<ComWordDocument>(result);
    return WordStatus::Ok();
}

WordStatus ComWordApplication::FindDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    ComDispatch documents;
    WordStatus status = m_application.GetObject(L"Documents", "Documents", WordInterfaces::kDocuments, documents);
    if (!status.ok || documents.isNull())
        return status;
    ComVariant count;
    status = documents.Get(L"Count", count);
    if (!status.ok)
        return status;
    // The collection counts from 1. Bounded: a document count past any real one is a fault.
    const qint32 total = std::clamp<qint32>(count.ToLong(), 0, MaxOpenDocuments);
    for (qint32 index = 1; index <= total; ++index) {
        ComVariant item;
        status = documents.Call(L"Item", {ComVariant::Long(index)}, &item);
        if (!status.ok)
            return status;
        IDispatch* object = item.TakeDispatch();
        if (!object)
            continue;
        ComDispatch candidate;
        const HRESULT hr = ComDispatch::Query(object, "_Document", WordInterfaces::kDocument, candidate);
        object->Release();
        if (FAILED(hr) || candidate.isNull())
            continue;
        auto open = std::make_shared<ComWordDocument>(candidate);
        QString fullName;
        if (open->FullName(fullName).ok && !fullName.isEmpty() && SameDocumentFile(fullName, path)) {
            document = open;
            return WordStatus::Ok();
        }
    }
    return WordStatus::Ok();
}

WordStatus ComWordApplication::SetVisible(bool visible)
{
    return m_application.Put(L"Visible", ComVariant::Bool(visible));
}

QuitStatus ComWordApplication::RequestQuit()
{
    // SaveChanges, OriginalFormat, RouteDocument. Left out, SaveChanges means the
    // word processor's own handling of unsaved documents (it asks the user). A failure
    // is the user's Cancel, or an instance that could not be asked.
    const ComVariant missing = ComVariant::Missing();
    m_quit = m_application.Call(L"Quit", {missing, missing, missing}).ok ? QuitStatus::Quit : QuitStatus::Refused;
    return m_quit;
}
