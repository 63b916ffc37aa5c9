#include "WordText.h"

namespace mhelper {

namespace {

// Lower case of a Cyrillic code point (U+0400..U+04FF, capitals U+0400..U+042F),
// with ё read as е.
inline unsigned FoldCyrillic(unsigned cp)
{
    if (cp >= 0x410 && cp <= 0x42F)
        cp += 0x20;
    else if (cp < 0x410)
        cp += 0x50;
    return cp == 0x451 ? 0x435 : cp;
}

inline bool IsCont(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed sequence at p (1..4), or 0 when it is not well-formed.
size_t SequenceLength(const unsigned char* p, size_t n)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return n >= 2 && IsCont(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (n < 3 || !IsCont(p[1]) || !IsCont(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0))
            return 0; // overlong or surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (n < 4 || !IsCont(p[1]) || !IsCont(p[2]) || !IsCont(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

} // namespace

size_t NormaliseWord(std::string_view in, char* out, size_t cap, bool* truncated, Script* script)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(in.data());
    const size_t n = in.size();
    size_t i = 0, o = 0;
    bool latin = false, cyrillic = false;
    *truncated = false;
    while (i < n) {
        const unsigned char c0 = p[i];
        // Fast paths: ASCII and two-byte Cyrillic, the bulk of the text.
        if (c0 < 0x80 && o < cap) {
            unsigned char c = c0;
            if (c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c + 32);
            latin |= c >= 'a' && c <= 'z';
            out[o++] = char(c);
            ++i;
            continue;
        }
        if ((c0 == 0xD0 || c0 == 0xD1) && i + 1 < n && IsCont(p[i + 1]) && o + 2 <= cap) {
            const unsigned cp = FoldCyrillic(((c0 & 0x1Fu) << 6) | (p[i + 1] & 0x3Fu));
            cyrillic = true;
            out[o++] = char(0xC0 | (cp >> 6));
            out[o++] = char(0x80 | (cp & 0x3F));
            i += 2;
            continue;
        }
        const size_t len = SequenceLength(p + i, n - i);
        if (len == 2) {
            unsigned cp = ((p[i] & 0x1Fu) << 6) | (p[i + 1] & 0x3Fu);
            if (cp >= 0x400 && cp <= 0x4FF) {
                cyrillic = true;
                cp = FoldCyrillic(cp);
            } else if (cp >= 0xC0 && cp <= 0xFF && cp != 0xD7 && cp != 0xF7) {
                latin = true;
                if (cp <= 0xDE)
                    cp += 0x20;
            }
            if (o + 2 > cap) {
                *truncated = true;
                break;
            }
            out[o++] = char(0xC0 | (cp >> 6));
            out[o++] = char(0x80 | (cp & 0x3F));
            i += 2;
            continue;
        }
        if (len == 0 || len == 1) {
            unsigned char c = len == 0 ? '?' : p[i];
            if (c >= 'A' && c <= 'Z')
                c = char(c + 32);
            if (c >= 'a' && c <= 'z')
                latin = true;
            if (o + 1 > cap) {
                *truncated = true;
                break;
            }
            out[o++] = char(c);
            ++i;
            continue;
        }
        if (o + len > cap) {
            *truncated = true;
            break;
        }
        for (size_t k = 0; k < len; ++k)
            out[o++] = char(p[i + k]);
        i += len;
    }
    *script = cyrillic ? Script::Cyrillic : latin ? Script::Latin : Script::Other;
    return o;
}

bool IsWellFormedUtf8(std::string_view s)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    for (size_t i = 0; i < s.size();) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const size_t len = SequenceLength(p + i, s.size() - i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

size_t Utf8Prefix(std::string_view s, size_t cap)
{
    if (s.size() <= cap)
        return s.size();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t i = 0;
    while (i < s.size()) {
        size_t len = SequenceLength(p + i, s.size() - i);
        if (len == 0)
            len = 1; // counted as one character so the cut stays bounded
        if (i + len > cap)
            break;
        i += len;
    }
    return i;
}

} // namespace mhelper
