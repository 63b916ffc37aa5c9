#include "extract/PlainTextReader.h"

#include "extract/CodePage.h"
#include "extract/DocumentFormat.h"

#include <QStringDecoder>

#include <bit>
#include <cstdint>
#include <cstring>

QString PlainTextReader::Decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        return decoder(bytes.sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        return decoder(bytes.sliced(2));
    }
    {
        // Most files are clean UTF-8: one decoding pass, and the checks below only when it fails.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(bytes);
        if (!decoder.hasError())
            return text;
    }
    if (IsMostlyUtf8(bytes))
        return DecodeDamagedUtf8(bytes);
    return CodePage::Decode(bytes, 1251);
}

namespace {

// Length of the valid UTF-8 sequence starting at p (1-4), or 0 when it is invalid:
// a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF, or
// a sequence cut short.
int utf8SequenceLength(const unsigned char* p, qsizetype left)
{
    const unsigned char b = p[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// Decodes as many two-byte sequences (U+0080 to U+07FF: Cyrillic among them) at p as
// a Word has 16-bit lanes, all at once; false, writing nothing, when its bytes are
// anything else. Only on little-endian hosts, where the lanes are the units in order.
template <typename Word> bool decodePairs(const unsigned char* p, char16_t* out)
{
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    } else {
        constexpr Word ones = Word(~Word(0)) / 0xFFFF; // 1 in each lane
        Word w;
        std::memcpy(&w, p, sizeof w);
        // Each pair: a lead 110xxxxx that is not C0 or C1 (an overlong form), then 10xxxxxx.
        const Word lead = w & (ones * 0x001E);
        if ((w & (ones * 0xC0E0)) != ones * 0x80C0 || ((lead - ones) & ~lead & (ones * 0x8000)) != 0)
            return false;
        const Word units = ((w & (ones * 0x001F)) << 6) | ((w >> 8) & (ones * 0x003F));
        std::memcpy(out, &units, sizeof units);
        return true;
    }
}

} // namespace

QString PlainTextReader::DecodeDamagedUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text(n, Qt::Uninitialized); // never more units than bytes
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype size = 0;
    bool damaged = false;
    for (qsizetype i = 0; i < n;) {
        const int length = utf8SequenceLength(p + i, n - i);
        if (length == 0) {
            if (!damaged)
                out[size++] = QChar::ReplacementCharacter;
            damaged = true;
            ++i;
            continue;
        }
        damaged = false;
        char32_t c = length == 1 ? p[i] : p[i] & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (p[i + k] & 0x3F);
        if (c >= 0x10000) {
            out[size++] = QChar::highSurrogate(c);
            out[size++] = QChar::lowSurrogate(c);
        } else {
            out[size++] = char16_t(c);
        }
        i += length;
    }
    text.truncate(size);
    return text;
}

bool PlainTextReader::IsMostlyUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype multiByte = 0;
    qsizetype invalid = 0;
    for (qsizetype i = 0; i < n;) {
        const int length = utf8SequenceLength(p + i, n - i);
        if (length == 0) {
            ++invalid;
            ++i;
            continue;
        }
        if (length > 1)
            ++multiByte;
        i += length;
    }
    // Pairs of 8-bit letters in other encodings form valid sequences only by chance, and
    // rarely; a file whose multi-byte sequences almost all hold is UTF-8 with damage.
    return invalid == 0 || (multiByte > 0 && invalid * kMinValidPerInvalid <= multiByte);
}

QString PlainTextReader::CanonicalLineBreaks(const QString& text)
{
    const char16_t* data = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    // Measured first, so the result is written in place at its final size.
    qsizetype size = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i];
        if (c >= 0x20 || c == u'\t')
            ++size;
        else if (c == u'\r' || c == u'\n') {
            size += 2;
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
                ++i;
        }
    }
    QString out(size, Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i];
        if (c == u'\r' || c == u'\n') {
            *to++ = u'\r';
            *to++ = u'\n';
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
                ++i;
        } else if (c == 0x2011) {
            *to++ = u'-';
        } else if (c >= 0x20 || c == u'\t') {
            // No-break spaces, soft hyphens and the like stay for the Check to read.
            *to++ = c;
        }
    }
    return out;
}

bool PlainTextReader::DecodeCleanUtf8(const QByteArray& bytes, QString& text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype n = bytes.size();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        p += 3;
        n -= 3;
        // A second mark is left to the general way, whichever way it reads it.
        if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
            return false;
    }
    // A byte gives at most one unit, but a lone CR or LF gives two (CR LF): room for every
    // byte and a few such breaks, grown at a break whenever the rest might not fit. Room
    // never written is never touched either.
    qsizetype room = n + n / 32 + 16;
    QString out(room, Qt::Uninitialized);
    char16_t* begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* to = begin;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            if (b >= 0x20 || b == '\t') {
                *to++ = b;
            } else if (b == '\r' || b == '\n') {
                const bool pair = b == '\r' && i + 1 < n && p[i + 1] == '\n';
                if (!pair && (to - begin) + 2 + (n - i - 1) > room) {
                    const qsizetype written = to - begin;
                    room += room / 2 + 2;
                    out.resize(room);
                    begin = reinterpret_cast<char16_t*>(out.data());
                    to = begin + written;
                }
                *to++ = u'\r';
                *to++ = u'\n';
                if (pair)
                    ++i;
            }
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
            // The bulk of Russian text; the rest of a word's letters go four and two at a time.
            *to++ = char16_t(((b & 0x1F) << 6) | (p[i + 1] & 0x3F));
            i += 2;
            while (n - i >= 8 && decodePairs<std::uint64_t>(p + i, to)) {
                to += 4;
                i += 8;
            }
            if (n - i >= 4 && decodePairs<std::uint32_t>(p + i, to)) {
                to += 2;
                i += 4;
            }
            continue;
        }
        const int length = utf8SequenceLength(p + i, n - i);
        if (length == 0)
            return false;
        if (length == 3) {
            const auto c = char16_t(((b & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F));
            *to++ = c == 0x2011 ? u'-' : c;
        } else {
            const char32_t c =
                ((b & 0x07) << 18) | ((p[i + 1] & 0x3F) << 12) | ((p[i + 2] & 0x3F) << 6) | (p[i + 3] & 0x3F);
            *to++ = QChar::highSurrogate(c);
            *to++ = QChar::lowSurrogate(c);
        }
        i += length;
    }
    out.truncate(to - begin);
    text = std::move(out);
    return true;
}

ParsedDocument PlainTextReader::Read(const QByteArray& bytes)
{
    if (bytes.size() > kMaxTextBytes)
        return ParsedDocument::Failure(ExtractError::TooLarge);
    if (!DocumentFormatSniffer::LooksLikeText(bytes))
        return ParsedDocument::Failure(ExtractError::UnknownFormat, QStringLiteral(u"это не текстовый файл"));
    ParsedDocument doc;
    QString text;
    if (!DecodeCleanUtf8(bytes, text))
        text = CanonicalLineBreaks(Decode(bytes));
    doc.stories.append(std::move(text));
    return doc;
}
