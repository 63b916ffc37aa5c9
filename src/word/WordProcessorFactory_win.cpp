#include "word/WordProcessorFactory.h"

#include "word/AutomatedWordProcessor.h"
#include "word/com/ComWordAutomation.h"

// On Windows the word processor is whatever is registered as Word.Application;
// whether one is, each operation finds out for itself.
std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    return std::make_unique<AutomatedWordProcessor>(std::make_shared<ComWordAutomation>());
}
