#include "NarrowText.h"

namespace mhelper {

bool NarrowIsUtf8()
{
    return true;
}

std::string NarrowToUtf8(std::string_view narrow)
{
    return std::string(narrow);
}

std::string Utf8ToNarrow(std::string_view utf8)
{
    return std::string(utf8);
}

} // namespace mhelper
