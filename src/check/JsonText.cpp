#include "check/JsonText.h"

#include <QLocale>
#include <cmath>

namespace JsonText {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendEscape(QByteArray& out, char16_t u)
{
    const char escape[] = {'\\', 'u', kHex[(u >> 12) & 15], kHex[(u >> 8) & 15], kHex[(u >> 4) & 15], kHex[u & 15]};
    out.append(escape, sizeof escape);
}

} // namespace

void AppendString(QByteArray& out, QStringView text)
{
    out.reserve(out.size() + text.size() * 2 + 2);
    out.append('"');
    const char16_t* src = text.utf16();
    const char16_t* const end = src + text.size();
    while (src != end) {
        const char16_t u = *src++;
        if (u < 0x80) {
            if (u >= 0x20 && u != u'"' && u != u'\\') {
                out.append(char(u));
                continue;
            }
            switch (u) {
            case u'"':
                out.append("\\\"", 2);
                break;
            case u'\\':
                out.append("\\\\", 2);
                break;
            case u'\b':
                out.append("\\b", 2);
                break;
            case u'\f':
                out.append("\\f", 2);
                break;
            case u'\n':
                out.append("\\n", 2);
                break;
            case u'\r':
                out.append("\\r", 2);
                break;
            case u'\t':
                out.append("\\t", 2);
                break;
            default:
                appendEscape(out, u);
            }
        } else if (u < 0x800) {
            out.append(char(0xC0 | (u >> 6)));
            out.append(char(0x80 | (u & 0x3F)));
        } else if (u < 0xD800 || u > 0xDFFF) {
            out.append(char(0xE0 | (u >> 12)));
            out.append(char(0x80 | ((u >> 6) & 0x3F)));
            out.append(char(0x80 | (u & 0x3F)));
        } else if (u < 0xDC00 && src != end && *src >= 0xDC00 && *src <= 0xDFFF) {
            const char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*src++) - 0xDC00);
            out.append(char(0xF0 | (c >> 18)));
            out.append(char(0x80 | ((c >> 12) & 0x3F)));
            out.append(char(0x80 | ((c >> 6) & 0x3F)));
            out.append(char(0x80 | (c & 0x3F)));
        } else {
            appendEscape(out, u);
        }
    }
    out.append('"');
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
