#include "extract/PdfModule.h"
#include "extract/PdfReader.h"

// The module's one entry: reads a PDF into document. False when the program was built
// for another layout of what crosses here.
extern "C" Q_DECL_EXPORT bool parafrix_pdf_read(int interfaceVersion, const QByteArray* bytes, ParsedDocument* document)
{
    if (interfaceVersion != PdfModule::InterfaceVersion || !bytes || !document)
        return false;
    *document = PdfReader::Read(*bytes);
    return true;
}
