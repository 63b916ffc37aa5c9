#include "extract/RunLook.h"

#include <cstdlib>

namespace {

constexpr int kWhite = 0xFFFFFF;
// Channels closer than this are one colour to the eye (FEFEFE on white).
constexpr int kColorTolerance = 16;

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

RunLook RunLook::Over(const RunLook& over) const
{
    RunLook look = *this;
    if (over.hidden >= 0)
        look.hidden = over.hidden;
    if (over.color != kUnset)
        look.color = over.color;
    if (over.size > 0)
        look.size = over.size;
    if (over.background != kUnset)
        look.background = over.background;
    return look;
}

bool RunLook::Invisible(int behind) const
{
    if (hidden == 1 || (size > 0 && size <= kTinySize))
        return true;
    if (color < 0)
        return false;
    const int under = background >= 0 ? background : behind >= 0 ? behind : kWhite;
    return SameColor(color, under);
}

int RunLook::ParseHexColor(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.compare(u"auto", Qt::CaseInsensitive) == 0)
        return kAuto;
    if (text.size() != 6)
        return kUnset;
    int value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c.unicode());
        if (digit < 0)
            return kUnset;
        value = value * 16 + digit;
    }
    return value;
}

bool RunLook::SameColor(int a, int b)
{
    if (a < 0 || b < 0)
        return false;
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) >= kColorTolerance)
            return false;
    return true;
}
