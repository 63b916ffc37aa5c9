#include "extract/FilterLoader.h"

#include "extract/DocReader.h"
#include "extract/DocumentFile.h"
#include "extract/DocumentFilter.h"
#include "extract/DocxReader.h"
#include "extract/OdtReader.h"
#include "extract/PdfModule.h"
#include "extract/PlainTextReader.h"
#include "extract/RtfReader.h"

namespace {

FilterLoadResult failure(FilterStatus::Code code, ExtractError error, const QString& detail = {})
{
    FilterLoadResult result;
    result.code = code;
    result.error = error;
    result.detail = detail;
    return result;
}

} // namespace

ParsedDocument FilterLoader::Parse(DocumentFormat format, const QByteArray& bytes)
{
    switch (format) {
    case DocumentFormat::Text:
        return PlainTextReader::Read(bytes);
    case DocumentFormat::Rtf:
        return RtfReader::Read(bytes);
    case DocumentFormat::Pdf:
        return PdfModule::Read(bytes);
    case DocumentFormat::Word97:
        return DocReader::Read(bytes);
    case DocumentFormat::Docx:
        return DocxReader::Read(bytes);
    case DocumentFormat::Odt:
        return OdtReader::Read(bytes);
    case DocumentFormat::Unknown:
        break;
    }
    return ParsedDocument::Failure(ExtractError::UnknownFormat);
}

FilterLoadResult FilterLoader::LoadBytes(const QByteArray& bytes, const QString& fileName,
                                         std::unique_ptr<IFilter>& filter)
{
    filter.reset();
    const DocumentFormat format = DocumentFormatSniffer::Sniff(bytes, fileName);
    if (format == DocumentFormat::Unknown)
        return failure(FilterStatus::UnknownFormat, ExtractError::UnknownFormat);
    ParsedDocument document = Parse(format, bytes);
    switch (document.error) {
    case ExtractError::None:
    case ExtractError::PasswordProtected:
    case ExtractError::NoPermission:
        // These the filter itself reports, from GetChunk.
        break;
    case ExtractError::UnknownFormat:
        return failure(FilterStatus::UnknownFormat, document.error, document.detail);
    default:
        return failure(FilterStatus::Fail, document.error, document.detail);
    }
    filter = std::make_unique<DocumentFilter>(std::move(document));
    return {};
}

FilterLoadResult FilterLoader::Load(const QString& path, std::unique_ptr<IFilter>& filter)
{
    return LoadNative(DocumentFile::NativeName(path), filter);
}

FilterLoadResult FilterLoader::LoadNative(const QByteArray& nativePath, std::unique_ptr<IFilter>& filter)
{
    filter.reset();
    QByteArray bytes;
    QString detail;
    const ExtractError error = DocumentFile::Read(nativePath, bytes, detail);
    if (error != ExtractError::None) {
        const FilterStatus::Code code = error == ExtractError::NoPermission || error == ExtractError::FolderDenied
                                            ? FilterStatus::Access
                                            : FilterStatus::Fail;
        return failure(code, error, detail);
    }
    return LoadBytes(bytes, DocumentFile::DisplayName(nativePath), filter);
}

FilterLoadResult LoadIFilter(const QString& path, std::unique_ptr<IFilter>& filter)
{
    return FilterLoader::Load(path, filter);
}
