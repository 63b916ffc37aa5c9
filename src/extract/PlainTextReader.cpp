#include "extract/PlainTextReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

QString decodeWindows1251(const QByteArray& bytes)
{
    // Windows-1251 upper half; 0x98 is unassigned and maps to U+FFFD.
    static const char16_t kHigh[128] = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
        0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
        0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
        0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
        0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes.at(i));
        if (b < 0x80)
            out[i] = QChar(char16_t(b));
        else if (b < 0xC0)
            out[i] = QChar(kHigh[b - 0x80]);
        else
            out[i] = QChar(char16_t(0x0410 + (b - 0xC0)));
    }
    return text;
}

} // namespace

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
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1251(bytes);
}

QString PlainTextReader::CanonicalLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 32);
    const QChar* data = text.constData();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c == u'\r') {
            out += QStringLiteral("\r\n");
            if (i + 1 < n && data[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += data[i];
        }
    }
    return out;
}

ExtractResult PlainTextReader::ReadFile(const QString& path)
{
    ExtractResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = ExtractError::FileMissing;
        return result;
    }
    if (info.isDir()) {
        result.error = ExtractError::UnknownFormat;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error =
            file.error() == QFileDevice::PermissionsError ? ExtractError::NoPermission : ExtractError::Damaged;
        result.detail = file.errorString();
        return result;
    }
    if (file.size() > kMaxFileBytes) {
        result.error = ExtractError::TooLarge;
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        result.error = ExtractError::TooLarge;
        return result;
    }
    result.text = CanonicalLineBreaks(Decode(bytes));
    if (result.text.isEmpty())
        result.error = ExtractError::NoText;
    return result;
}
