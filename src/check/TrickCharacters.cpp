#include "check/TrickCharacters.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace TrickCharacters {

bool IsCyrillicLetter(char32_t c)
{
    return (c >= 0x0400 && c <= 0x0481) || (c >= 0x048A && c <= 0x052F) || (c >= 0x1C80 && c <= 0x1C88) ||
           (c >= 0xA640 && c <= 0xA66E) || (c >= 0xA680 && c <= 0xA69D);
}

char16_t CyrillicLookAlike(char32_t c)
{
    // Each Latin or Greek letter followed by the Cyrillic letter it is drawn like; all
    // of them lie below U+0400, so one table answers.
    static constexpr std::u16string_view pairs = u"aаcсeеkкoоpрxхyуëёAАBВCСEЕHНKКMМOОPРTТXХYУËЁ"
                                                 u"αаεеοоρрκкΑАΒВΕЕΗНΚКΜМΟОΡРΤТΧХΥУ";
    static const std::array<char16_t, 0x400> table = [] {
        std::array<char16_t, 0x400> built{};
        for (size_t i = 0; i < pairs.size(); i += 2)
            built[pairs[i]] = pairs[i + 1];
        return built;
    }();
    return c < table.size() ? table[c] : 0;
}

bool IsInvisible(char32_t c)
{
    if (c < 0x034F)
        return false;
    return c == 0x034F || c == 0x061C || c == 0x17B4 || c == 0x17B5 || (c >= 0x180B && c <= 0x180F) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) ||
           (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || (c >= 0xFFF0 && c <= 0xFFF8) ||
           (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A) || (c >= 0xE0000 && c <= 0xE0FFF);
}

bool IsSpaceLookAlike(char32_t c)
{
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000 ||
           c == 0x2800 || c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0;
}

bool IsTypographicSpace(char32_t c)
{
    return c == 0x00A0 || c == 0x202F || (c >= 0x2000 && c <= 0x200A) || c == 0x205F;
}

bool IsStressMark(char32_t c)
{
    return c == 0x0300 || c == 0x0301 || c == 0x0340 || c == 0x0341;
}

bool IsVowel(char32_t c)
{
    // One bit per letter of а..я (and А..Я folded onto it), and of a..z.
    constexpr uint32_t cyrillic = (1u << 0) | (1u << 5) | (1u << 8) | (1u << 14) | (1u << 19) | (1u << 27) |
                                  (1u << 29) | (1u << 30) | (1u << 31); // а е и о у ы э ю я
    constexpr uint32_t latin = (1u << 0) | (1u << 4) | (1u << 8) | (1u << 14) | (1u << 20) | (1u << 24); // a e i o u y
    if (c >= U'а' && c <= U'я')
        return (cyrillic >> (c - U'а')) & 1;
    if (c >= U'А' && c <= U'Я')
        return (cyrillic >> (c - U'А')) & 1;
    if (c == U'ё' || c == U'Ё')
        return true;
    const char32_t lower = c | 0x20;
    return c < 0x80 && lower >= U'a' && lower <= U'z' && ((latin >> (lower - U'a')) & 1);
}

} // namespace TrickCharacters
