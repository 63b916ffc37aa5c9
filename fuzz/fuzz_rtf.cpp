#include "FuzzReader.h"
#include "extract/RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<RtfReader>(data, size);
}
