#include "extract/PdfReader.h"

// Builds without poppler (the Windows build) read no PDF: the format is
// recognised, and refused with a reason the user can act on.
ParsedDocument PdfReader::Read(const QByteArray& bytes)
{
    Q_UNUSED(bytes);
    return ParsedDocument::Failure(ExtractError::UnknownFormat,
                                   QStringLiteral(u"PDF в этой сборке программы не читается: "
                                                  u"сохраните документ в формате DOCX, ODT, RTF или TXT"));
}
