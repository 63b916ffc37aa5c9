#include "extract/PdfModule.h"

#ifdef PARAFRIX_PDF_MODULE_FILE

#include "install/InstallLayout.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <memory>

namespace {

using ReadFunction = bool (*)(int interfaceVersion, const QByteArray* bytes, ParsedDocument* document);

struct LoadedModule
{
    QLibrary* library = nullptr; // never unloaded: poppler keeps process-wide state
    ReadFunction read = nullptr;
    QString problem;
};

LoadedModule LoadModule()
{
    LoadedModule loaded;
    const InstallLayout layout(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    const QStringList candidates = layout.libraryCandidates(QStringLiteral(u"" PARAFRIX_PDF_MODULE_FILE));
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate))
            continue;
        auto library = std::make_unique<QLibrary>(candidate);
        loaded.read = reinterpret_cast<ReadFunction>(library->resolve("parafrix_pdf_read"));
        if (loaded.read) {
            loaded.library = library.release();
            return loaded;
        }
        loaded.problem = library->errorString();
    }
    if (loaded.problem.isEmpty())
        loaded.problem =
            QStringLiteral(u"не найден модуль чтения PDF (искали: %1)").arg(InstallLayout::Describe(candidates));
    return loaded;
}

} // namespace

ParsedDocument PdfModule::Read(const QByteArray& bytes)
{
    // Looked for once per process, on the first PDF.
    static const LoadedModule module = LoadModule();
    ParsedDocument document;
    if (!module.read)
        return ParsedDocument::Failure(ExtractError::UnknownFormat, module.problem);
    if (!module.read(InterfaceVersion, &bytes, &document))
        return ParsedDocument::Failure(ExtractError::UnknownFormat,
                                       QStringLiteral(u"модуль чтения PDF не подходит к этой версии программы"));
    return document;
}

#else

#include "extract/PdfReader.h"

ParsedDocument PdfModule::Read(const QByteArray& bytes)
{
    return PdfReader::Read(bytes);
}

#endif
