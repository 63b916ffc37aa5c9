#include "word/WordProcessorFactory.h"

#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/NullWordProcessor.h"
#include "word/WordAutomation.h"

std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    if (std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(LibreOfficeOptions{}))
        return std::make_unique<AutomatedWordProcessor>(std::move(automation));
    return std::make_unique<NullWordProcessor>();
}
