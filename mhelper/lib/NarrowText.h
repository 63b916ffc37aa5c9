#pragma once

#include <string>
#include <string_view>

namespace mhelper {

// Conversion between the narrow text of the C interface and UTF-8. Narrow text is
// UTF-8 everywhere but Windows, where it is the calling thread's ANSI code page.
// NarrowText_<os>.cpp holds the platform's version.
bool NarrowIsUtf8();
std::string NarrowToUtf8(std::string_view narrow);
// Converts a UTF-8 stem back; characters the code page lacks become its default one.
std::string Utf8ToNarrow(std::string_view utf8);

} // namespace mhelper
