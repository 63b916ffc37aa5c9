#include "SnowballStemmer.h"

#include "WordText.h"

#include <cstring>
#include <libstemmer.h>

namespace mhelper {

namespace {

struct ThreadStemmers
{
    sb_stemmer* russian = nullptr;
    sb_stemmer* english = nullptr;
    bool made = false;
    ~ThreadStemmers()
    {
        if (russian)
            sb_stemmer_delete(russian);
        if (english)
            sb_stemmer_delete(english);
    }
};

size_t CopyCut(const char* src, size_t len, char* out, size_t cap)
{
    const size_t n = Utf8Prefix(std::string_view(src, len), cap);
    std::memcpy(out, src, n);
    return n;
}

} // namespace

size_t SnowballStemmer::Stem(Language language, std::string_view word, char* out, size_t cap)
{
    thread_local ThreadStemmers stemmers;
    if (!stemmers.made) {
        stemmers.made = true;
        stemmers.russian = sb_stemmer_new("russian", "UTF_8");
        stemmers.english = sb_stemmer_new("english", "UTF_8");
    }
    sb_stemmer* s = language == Language::Russian ? stemmers.russian : stemmers.english;
    if (!s)
        return CopyCut(word.data(), word.size(), out, cap);
    const sb_symbol* stem =
        sb_stemmer_stem(s, reinterpret_cast<const sb_symbol*>(word.data()), static_cast<int>(word.size()));
    if (!stem)
        return CopyCut(word.data(), word.size(), out, cap);
    const int len = sb_stemmer_length(s);
    return CopyCut(reinterpret_cast<const char*>(stem), len > 0 ? size_t(len) : 0, out, cap);
}

} // namespace mhelper
