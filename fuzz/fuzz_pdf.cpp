#include "FuzzReader.h"
#include "extract/PdfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<PdfReader>(data, size);
}
