#include "check/JsonText.h"

#include <QLocale>
#include <cmath>

namespace JsonText {

namespace {

constexpr char kHex[] = "0123456789abcdef";

char* writeEscape(char* out, char16_t u)
{
    *out++ = '\\';
    *out++ = 'u';
    *out++ = kHex[(u >> 12) & 15];
    *out++ = kHex[(u >> 8) & 15];
    *out++ = kHex[(u >> 4) & 15];
    *out++ = kHex[u & 15];
    return out;
}

// Writes the UTF-8 of the code unit u, not ASCII, at to, taking the low half from src
// when u is the high half of a pair. Null for a lone surrogate, which the callers
// write each their own way.
inline char* writeUtf8(char* to, char16_t u, const char16_t*& src, const char16_t* end)
{
    if (u < 0x800) {
        *to++ = char(0xC0 | (u >> 6));
        *to++ = char(0x80 | (u & 0x3F));
    } else if (u < 0xD800 || u > 0xDFFF) {
        *to++ = char(0xE0 | (u >> 12));
        *to++ = char(0x80 | ((u >> 6) & 0x3F));
        *to++ = char(0x80 | (u & 0x3F));
    } else if (u < 0xDC00 && src != end && *src >= 0xDC00 && *src <= 0xDFFF) {
        const char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*src++) - 0xDC00);
        *to++ = char(0xF0 | (c >> 18));
        *to++ = char(0x80 | ((c >> 12) & 0x3F));
        *to++ = char(0x80 | ((c >> 6) & 0x3F));
        *to++ = char(0x80 | (c & 0x3F));
    } else {
        return nullptr;
    }
    return to;
}

} // namespace

void AppendString(QByteArray& out, QStringView text)
{
    // Written in place: no code unit takes more than six bytes (\u0001).
    const qsizetype start = out.size();
    out.resize(start + text.size() * 6 + 2);
    char* to = out.data() + start;
    *to++ = '"';
    const char16_t* src = text.utf16();
    const char16_t* const end = src + text.size();
    while (src != end) {
        const char16_t u = *src++;
        if (u < 0x80) {
            if (u >= 0x20 && u != u'"' && u != u'\\') {
                *to++ = char(u);
                continue;
            }
            *to++ = '\\';
            switch (u) {
            case u'"':
                *to++ = '"';
                break;
            case u'\\':
                *to++ = '\\';
                break;
            case u'\b':
                *to++ = 'b';
                break;
            case u'\f':
                *to++ = 'f';
                break;
            case u'\n':
                *to++ = 'n';
                break;
            case u'\r':
                *to++ = 'r';
                break;
            case u'\t':
                *to++ = 't';
                break;
            default:
                to = writeEscape(to - 1, u);
            }
        } else if (char* const next = writeUtf8(to, u, src, end)) {
            to = next;
        } else {
            to = writeEscape(to, u);
        }
    }
    *to++ = '"';
    out.truncate(to - out.data());
}

void AppendUtf8(QByteArray& out, QStringView text)
{
    // Written in place: no code unit takes more than three bytes.
    const qsizetype start = out.size();
    out.resize(start + text.size() * 3);
    char* to = out.data() + start;
    const char16_t* src = text.utf16();
    const char16_t* const end = src + text.size();
    while (src != end) {
        const char16_t u = *src++;
        if (u < 0x80) {
            *to++ = char(u);
        } else if (char* const next = writeUtf8(to, u, src, end)) {
            to = next;
        } else {
            *to++ = '?';
        }
    }
    out.truncate(to - out.data());
}

void AppendStrings(QByteArray& out, const QStringList& items)
{
    out.append('[');
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out.append(',');
        AppendString(out, items.at(i));
    }
    out.append(']');
}

void AppendNumber(QByteArray& out, double value)
{
    if (!std::isfinite(value))
        out.append("null");
    else
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

} // namespace JsonText
