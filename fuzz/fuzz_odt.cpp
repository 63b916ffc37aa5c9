#include "FuzzReader.h"
#include "extract/OdtReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzReader<OdtReader>(data, size);
}
