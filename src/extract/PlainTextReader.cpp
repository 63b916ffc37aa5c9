#include "extract/PlainTextReader.h"

#include "extract/CodePage.h"
#include "extract/DocumentFormat.h"

#include <QStringDecoder>

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
    return CodePage::Decode(bytes, 1251);
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
        } else if (c == 0x00A0) {
            out += QChar(u' ');
        } else if (c == 0x2011) {
            out += QChar(u'-');
        } else if ((c >= 0x20 || c == u'\t') && c != 0x00AD && c != 0xFEFF) {
            out += data[i];
        }
    }
    return out;
}

ParsedDocument PlainTextReader::Read(const QByteArray& bytes)
{
    if (bytes.size() > kMaxTextBytes)
        return ParsedDocument::Failure(ExtractError::TooLarge);
    if (!DocumentFormatSniffer::LooksLikeText(bytes))
        return ParsedDocument::Failure(ExtractError::UnknownFormat, QStringLiteral(u"не текстовый файл"));
    ParsedDocument doc;
    doc.stories.append(CanonicalLineBreaks(Decode(bytes)));
    return doc;
}
