#include "word/WordProcessorFactory.h"

#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/NullWordProcessor.h"
#include "word/WordAutomation.h"

std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    const LibreOfficeOptions options;
    QString reason;
    if (std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(options, &reason))
        return std::make_unique<AutomatedWordProcessor>(std::move(automation));
    // Not installed at all: the plain advice to install it. Installed but unusable: why.
    if (!LibreOfficeModule::OfficeInstalled(options))
        reason.clear();
    return std::make_unique<NullWordProcessor>(reason);
}
