#include "FuzzReader.h"
#include "extract/DocReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<DocReader>(data, size);
}
