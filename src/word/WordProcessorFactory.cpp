#include "word/WordProcessorFactory.h"

#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/NullWordProcessor.h"
#include "word/WordAutomation.h"

#include <cstdio>

std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    QString error;
    if (std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(LibreOfficeOptions{}, &error))
        return std::make_unique<AutomatedWordProcessor>(std::move(automation));
    // No office is the ordinary case; an office without its module is worth a word on
    // stderr, naming the files looked for, since the window then cannot open documents.
    if (LibreOfficeModule::OfficeInstalled(LibreOfficeOptions{})) {
        const QByteArray text = (QStringLiteral(u"parafrix: ") + error + QChar(u'\n')).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    }
    return std::make_unique<NullWordProcessor>();
}
