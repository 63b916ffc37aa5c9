#pragma once

#include <cstddef>
#include <string_view>

namespace mhelper {

enum class Script
{
    Other,
    Latin,
    Cyrillic
};

// Normalises one UTF-8 word the way the dictionary keys were normalised: Latin and
// Cyrillic capitals become small letters, ё becomes е, and each byte of an invalid
// UTF-8 sequence becomes '?'. Writes at most cap bytes to out (no terminator) and
// returns the length written; sets *truncated when the word did not fit, in which case
// out ends at a character boundary. *script tells which stemmer suits the word.
size_t NormaliseWord(std::string_view in, char* out, size_t cap, bool* truncated, Script* script);

// Whether s is well-formed UTF-8.
bool IsWellFormedUtf8(std::string_view s);

// The length of the longest prefix of s, at most cap bytes, that ends at a character
// boundary of well-formed UTF-8.
size_t Utf8Prefix(std::string_view s, size_t cap);

} // namespace mhelper
