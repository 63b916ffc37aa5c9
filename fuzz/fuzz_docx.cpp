#include "FuzzReader.h"
#include "extract/DocxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<DocxReader>(data, size);
}
