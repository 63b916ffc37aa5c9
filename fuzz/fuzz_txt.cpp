#include "FuzzReader.h"
#include "extract/PlainTextReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<PlainTextReader>(data, size);
}
