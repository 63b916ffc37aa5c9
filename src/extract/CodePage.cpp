#include "extract/CodePage.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Upper halves (0x80-0xFF); 0xFFFD marks unassigned bytes.
constexpr char16_t k1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

constexpr char16_t k1252Low[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                   0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

} // namespace

char16_t CodePage::From1251(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b < 0xC0)
        return k1251High[b - 0x80];
    return char16_t(0x0410 + (b - 0xC0));
}

char16_t CodePage::From1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return k1252Low[b - 0x80];
    return b;
}

QString CodePage::Decode(const QByteArray& bytes, int codePage)
{
    if (codePage == 1251 || codePage == 1252 || codePage <= 0) {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar* out = text.data();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes.at(i));
            out[i] = QChar(codePage == 1251 ? From1251(b) : From1252(b));
        }
        return text;
    }
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    QString text;
    if (!IsKnown(codePage) || !SystemCodePage::Decode(bytes, codePage, text))
        return Decode(bytes, 1252);
    return text;
}

bool CodePage::IsKnown(int codePage)
{
    // Only code pages documents really name go to the platform's decoder.
    static const int kKnown[] = {437,  737,   775,   850,   852,   855,   857,   862,  866,  874,
                                 932,  936,   949,   950,   1250,  1253,  1254,  1255, 1256, 1257,
                                 1258, 10000, 20866, 21866, 28591, 28592, 28595, 28597};
    return codePage == 1251 || codePage == 1252 || codePage == 65001 ||
           std::find(std::begin(kKnown), std::end(kKnown), codePage) != std::end(kKnown);
}

bool CodePage::IsLeadByte(unsigned char byte, int codePage)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

int CodePage::FromName(QByteArrayView name)
{
    const QByteArray lower = name.trimmed().toByteArray().toLower();
    if (lower.isEmpty())
        return 0;
    static const struct
    {
        const char* name;
        int codePage;
    } kNames[] = {{"koi8-r", 20866},     {"koi8r", 20866},       {"koi8-u", 21866},     {"koi8u", 21866},
                  {"macintosh", 10000},  {"x-mac-roman", 10000}, {"iso-8859-1", 28591}, {"latin1", 28591},
                  {"iso-8859-2", 28592}, {"latin2", 28592},      {"iso-8859-5", 28595}, {"iso-8859-7", 28597},
                  {"shift_jis", 932},    {"gb2312", 936},        {"gbk", 936},          {"euc-kr", 949},
                  {"big5", 950},         {"utf-8", 65001},       {"utf8", 65001},       {"us-ascii", 1252}};
    for (const auto& entry : kNames)
        if (lower == entry.name)
            return entry.codePage;
    // windows-1251, cp1251, ibm866, x-cp1251, ...
    for (const char* prefix : {"windows-", "x-cp", "cp", "ibm"}) {
        if (!lower.startsWith(prefix))
            continue;
        bool ok = false;
        const int number = lower.sliced(qsizetype(std::strlen(prefix))).toInt(&ok);
        return ok && number > 0 && number < 65536 ? number : 0;
    }
    return 0;
}

int CodePage::FromCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}
