#include "word/WordProcessorFactory.h"

#include "word/NullWordProcessor.h"

std::unique_ptr<WordProcessor> CreateWordProcessor()
{
    return std::make_unique<NullWordProcessor>();
}
