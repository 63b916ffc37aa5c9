#include "extract/DocumentFormat.h"

#include "extract/ZipArchive.h"

#include <QFileInfo>

namespace {

DocumentFormat zipFormat(const QByteArray& bytes)
{
    ZipArchive zip;
    if (!zip.Open(bytes))
        return DocumentFormat::Unknown;
    if (zip.Contains(QStringLiteral("word/document.xml")) || zip.Contains(QStringLiteral("word/document2.xml")))
        return DocumentFormat::Docx;
    QByteArray mime;
    if (zip.Read(QStringLiteral("mimetype"), mime) == ZipArchive::Status::Ok &&
        mime.startsWith("application/vnd.oasis.opendocument.text"))
        return DocumentFormat::Odt;
    if (zip.Contains(QStringLiteral("content.xml")))
        return DocumentFormat::Odt;
    // A package whose main part lives elsewhere: the relationships name it.
    QByteArray rels;
    if (zip.Read(QStringLiteral("_rels/.rels"), rels) == ZipArchive::Status::Ok && rels.contains("wordprocessingml"))
        return DocumentFormat::Docx;
    return DocumentFormat::Unknown;
}

} // namespace

DocumentFormat DocumentFormatSniffer::FromContent(const QByteArray& bytes)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return DocumentFormat::Word97;
    if (bytes.startsWith("{\\rtf"))
        return DocumentFormat::Rtf;
    if (bytes.left(1024).contains("%PDF-"))
        return DocumentFormat::Pdf;
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return zipFormat(bytes);
    return DocumentFormat::Unknown;
}

namespace {

struct ExtensionFormat
{
    const char16_t* extension;
    DocumentFormat format;
};

// Word 97-2003 first: it is the format users pick most.
constexpr ExtensionFormat kExtensions[] = {
    {u"doc", DocumentFormat::Word97}, {u"dot", DocumentFormat::Word97}, {u"docx", DocumentFormat::Docx},
    {u"docm", DocumentFormat::Docx},  {u"dotx", DocumentFormat::Docx},  {u"dotm", DocumentFormat::Docx},
    {u"odt", DocumentFormat::Odt},    {u"ott", DocumentFormat::Odt},    {u"rtf", DocumentFormat::Rtf},
    {u"pdf", DocumentFormat::Pdf},    {u"txt", DocumentFormat::Text},   {u"text", DocumentFormat::Text},
};

} // namespace

DocumentFormat DocumentFormatSniffer::FromExtension(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const ExtensionFormat& entry : kExtensions)
        if (suffix == QStringView(entry.extension))
            return entry.format;
    return DocumentFormat::Unknown;
}

QStringList DocumentFormatSniffer::FilePatterns()
{
    QStringList patterns;
    for (const ExtensionFormat& entry : kExtensions)
        patterns << QStringLiteral("*.") + QStringView(entry.extension).toString();
    return patterns;
}

bool DocumentFormatSniffer::LooksLikeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return true;
    const qsizetype n = std::min<qsizetype>(bytes.size(), 64 * 1024);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (b == 0)
            return false;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            ++controls;
    }
    return controls * 100 <= n;
}

bool DocumentFormatSniffer::LooksLikeWords(const QByteArray& bytes)
{
    const qsizetype n = std::min<qsizetype>(bytes.size(), 64 * 1024);
    qsizetype letters = 0;
    qsizetype others = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        // Bytes from 0x80 up are letters in the 8-bit code pages and in UTF-8 alike.
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80)
            ++letters;
        else if (b > ' ')
            ++others;
    }
    return letters >= 4 && letters >= others;
}

DocumentFormat DocumentFormatSniffer::Sniff(const QByteArray& bytes, const QString& fileName)
{
    const DocumentFormat byContent = FromContent(bytes);
    if (byContent != DocumentFormat::Unknown)
        return byContent;
    const DocumentFormat byName = FromExtension(fileName);
    // Text is what is left when no format's signature matched, so it beats a document
    // extension only when it reads like words, and only where the word processor opens
    // plain text under that name too (.doc, .rtf). A .pdf, .docx or .odt that is no
    // such file goes to its reader, which calls it damaged.
    if (!bytes.isEmpty() && LooksLikeText(bytes)) {
        const bool textName = byName == DocumentFormat::Unknown || byName == DocumentFormat::Text;
        const bool lenientName = byName == DocumentFormat::Word97 || byName == DocumentFormat::Rtf;
        if (textName || (lenientName && LooksLikeWords(bytes)))
            return DocumentFormat::Text;
    }
    return byName;
}
