#include "SnowballStemmer.h"

#include "WordText.h"

#include <array>
#include <cstring>
#include <libstemmer.h>

namespace mhelper {

namespace {

constexpr size_t kMaxKoi8Word = 256;

struct ThreadStemmers
{
    sb_stemmer* russian = nullptr;
    sb_stemmer* russianKoi8 = nullptr;
    sb_stemmer* english = nullptr;
    bool made = false;
    ~ThreadStemmers()
    {
        for (sb_stemmer* s : {russian, russianKoi8, english})
            if (s)
                sb_stemmer_delete(s);
    }
};

// The small Russian letters а..я in KOI8-R; ё is 0xA3 there.
constexpr unsigned char kKoi8Small[32] = {0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB,
                                          0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8,
                                          0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1};
constexpr unsigned char kKoi8Yo = 0xA3;

// The code point of each KOI8-R byte above ASCII that ToKoi8 writes, 0 for the others.
constexpr std::array<unsigned short, 256> kFromKoi8 = [] {
    std::array<unsigned short, 256> table{};
    for (unsigned i = 0; i < 32; ++i)
        table[kKoi8Small[i]] = static_cast<unsigned short>(0x430 + i);
    table[kKoi8Yo] = 0x451;
    return table;
}();

// Writes a UTF-8 word made of ASCII and small Russian letters in KOI8-R; false when it
// holds anything else.
bool ToKoi8(std::string_view word, unsigned char* out, size_t& n)
{
    const auto* p = reinterpret_cast<const unsigned char*>(word.data());
    n = 0;
    for (size_t i = 0; i < word.size(); ++n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out[n] = c;
            ++i;
            continue;
        }
        if (i + 1 >= word.size())
            return false;
        const unsigned char d = p[i + 1];
        if (c == 0xD0 && d >= 0xB0 && d <= 0xBF)
            out[n] = kKoi8Small[d - 0xB0]; // а..п
        else if (c == 0xD1 && d >= 0x80 && d <= 0x8F)
            out[n] = kKoi8Small[d - 0x80 + 16]; // р..я
        else if (c == 0xD1 && d == 0x91)
            out[n] = kKoi8Yo;
        else
            return false;
        i += 2;
    }
    return true;
}

// The KOI8-R stem back in UTF-8; false for a byte that is no letter ToKoi8 writes.
bool FromKoi8(const unsigned char* stem, size_t length, char* out, size_t& n)
{
    n = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = stem[i];
        if (c < 0x80) {
            out[n++] = char(c);
            continue;
        }
        const unsigned cp = kFromKoi8[c];
        if (cp == 0)
            return false;
        out[n++] = char(0xC0 | (cp >> 6));
        out[n++] = char(0x80 | (cp & 0x3F));
    }
    return true;
}

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
        stemmers.russianKoi8 = sb_stemmer_new("russian", "KOI8_R");
        stemmers.english = sb_stemmer_new("english", "UTF_8");
    }
    // The one-byte build of the same Russian rules takes a third of the time of the
    // UTF-8 one and gives the same stems: words it can hold go through it.
    if (language == Language::Russian && stemmers.russian && stemmers.russianKoi8 && word.size() <= kMaxKoi8Word) {
        unsigned char koi8[kMaxKoi8Word];
        size_t n = 0;
        if (ToKoi8(word, koi8, n)) {
            const sb_symbol* stem = sb_stemmer_stem(stemmers.russianKoi8, koi8, static_cast<int>(n));
            const int len = stem ? sb_stemmer_length(stemmers.russianKoi8) : -1;
            char utf8[2 * kMaxKoi8Word];
            size_t written = 0;
            if (len >= 0 && size_t(len) <= n && FromKoi8(stem, size_t(len), utf8, written))
                return CopyCut(utf8, written, out, cap);
        }
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
