#pragma once

#include <cstddef>
#include <string_view>

namespace mhelper {

// The Snowball suffix rules for words the dictionary lacks. A Snowball stemmer is not
// safe to share between threads, so each thread gets its own pair, made on first use.
class SnowballStemmer
{
public:
    enum class Language
    {
        Russian,
        English
    };

    // Stems UTF-8 text; writes at most cap bytes to out and returns the length. An
    // unavailable stemmer gives the word back.
    static size_t Stem(Language language, std::string_view word, char* out, size_t cap);
};

} // namespace mhelper
