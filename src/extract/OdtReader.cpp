#include "extract/OdtReader.h"

#include "extract/GuardedXmlReader.h"
#include "extract/TextBuilder.h"
#include "extract/ZipArchive.h"

#include <vector>

namespace {

const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kDrawNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString kSvgNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");

// Spaces inserted by one <text:s>; more is no text anyone writes.
constexpr int kMaxSpaces = 1024;

class ContentWalker
{
public:
    explicit ContentWalker(GuardedXmlReader& reader) : m_reader(reader), m_xml(reader.Xml()) {}
    bool Walk(QString& why);
    TextBuilder m_body;
    TextBuilder m_footnotes;
    TextBuilder m_endnotes;

private:
    TextBuilder& out() { return m_notes.empty() ? m_body : *m_notes.back(); }
    void startElement();
    void endElement();
    void characters(QStringView text);

    GuardedXmlReader& m_reader;
    QXmlStreamReader& m_xml;
    int m_skipDepth = -1;
    int m_bodyDepth = -1;              // depth of office:text
    std::vector<TextBuilder*> m_notes; // open notes, innermost last
    std::vector<int> m_noteDepths;
    std::vector<bool> m_spaceBeforeNote; // whitespace state of the paragraph a note sits in
    int m_paragraphDepth = 0;            // open text:p / text:h
    bool m_lastWasSpace = true;          // ODF whitespace collapsing inside a paragraph
};

void ContentWalker::startElement()
{
    const QStringView ns = m_xml.namespaceUri();
    const QStringView name = m_xml.name();
    if (m_bodyDepth < 0) {
        if (ns == kOfficeNs && name == u"text")
            m_bodyDepth = m_reader.Depth();
        return;
    }
    if (ns == kOfficeNs && (name == u"annotation" || name == u"annotation-end" || name == u"forms")) {
        m_skipDepth = m_reader.Depth();
    } else if (ns == kTextNs) {
        if (name == u"tracked-changes" || name == u"note-citation" || name == u"sequence-decls" ||
            name == u"variable-decls" || name == u"user-field-decls" || name == u"table-of-content-source" ||
            name == u"alphabetical-index-source" || name == u"illustration-index-source" ||
            name == u"bibliography-source" || name == u"user-index-source" || name == u"object-index-source" ||
            name == u"table-index-source") {
            m_skipDepth = m_reader.Depth();
        } else if (name == u"note") {
            const bool endnote = m_xml.attributes().value(kTextNs, QStringLiteral("note-class")) == u"endnote";
            m_notes.push_back(endnote ? &m_endnotes : &m_footnotes);
            m_noteDepths.push_back(m_reader.Depth());
            m_spaceBeforeNote.push_back(m_lastWasSpace);
        } else if (name == u"p" || name == u"h") {
            ++m_paragraphDepth;
            m_lastWasSpace = true;
        } else if (name == u"s") {
            bool ok = false;
            int count = m_xml.attributes().value(kTextNs, QStringLiteral("c")).toInt(&ok);
            if (!ok || count < 1)
                count = 1;
            for (int i = 0; i < std::min(count, kMaxSpaces); ++i)
                out().AddChar(u' ');
            m_lastWasSpace = true;
        } else if (name == u"tab") {
            out().Tab();
            m_lastWasSpace = true;
        } else if (name == u"line-break") {
            out().LineBreak();
            m_lastWasSpace = true;
        }
    } else if (ns == kTableNs && name == u"covered-table-cell") {
        m_skipDepth = m_reader.Depth();
    } else if ((ns == kSvgNs && (name == u"title" || name == u"desc")) || (ns == kDrawNs && name == u"image")) {
        m_skipDepth = m_reader.Depth();
    }
}

void ContentWalker::endElement()
{
    const QStringView ns = m_xml.namespaceUri();
    const QStringView name = m_xml.name();
    if (m_reader.Depth() == m_bodyDepth) {
        m_bodyDepth = -2; // the body is done; nothing after it is text
        return;
    }
    if (ns == kTextNs) {
        if (name == u"p" || name == u"h") {
            --m_paragraphDepth;
            out().ParagraphEnd();
            m_lastWasSpace = true;
        } else if (name == u"note" && !m_notes.empty() && m_noteDepths.back() == m_reader.Depth()) {
            m_notes.pop_back();
            m_noteDepths.pop_back();
            m_lastWasSpace = m_spaceBeforeNote.back();
            m_spaceBeforeNote.pop_back();
        }
    } else if (ns == kTableNs) {
        if (name == u"table-cell")
            out().CellEnd();
        else if (name == u"table-row")
            out().RowEnd();
    }
}

void ContentWalker::characters(QStringView text)
{
    if (m_paragraphDepth <= 0)
        return;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n' || u == u'\r') {
            if (!m_lastWasSpace)
                out().AddChar(u' ');
            m_lastWasSpace = true;
        } else {
            out().AddChar(u);
            m_lastWasSpace = false;
        }
    }
}

bool ContentWalker::Walk(QString& why)
{
    while (m_reader.Next(why)) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::StartElement:
            if (m_skipDepth < 0 && m_bodyDepth != -2)
                startElement();
            break;
        case QXmlStreamReader::EndElement:
            if (m_skipDepth < 0) {
                if (m_bodyDepth >= 0)
                    endElement();
            } else if (m_skipDepth == m_reader.Depth()) {
                m_skipDepth = -1;
            }
            break;
        case QXmlStreamReader::Characters:
            if (m_skipDepth < 0 && m_bodyDepth >= 0)
                characters(m_xml.text());
            break;
        default:
            break;
        }
        if (m_body.Overflowed() || m_footnotes.Overflowed() || m_endnotes.Overflowed()) {
            why = QStringLiteral(u"текст слишком длинный");
            return false;
        }
    }
    return why.isEmpty();
}

} // namespace

ParsedDocument OdtReader::Read(const QByteArray& bytes)
{
    ZipArchive zip;
    if (!zip.Open(bytes))
        return ParsedDocument::Failure(ExtractError::Damaged, QStringLiteral(u"или это не документ формата .odt"));
    QByteArray content;
    switch (zip.Read(QStringLiteral("content.xml"), content)) {
    case ZipArchive::Status::Ok:
        break;
    case ZipArchive::Status::TooLarge:
        return ParsedDocument::Failure(ExtractError::TooLarge, QStringLiteral(u"слишком длинный основной текст"));
    case ZipArchive::Status::Encrypted:
        return ParsedDocument::Failure(ExtractError::PasswordProtected);
    case ZipArchive::Status::Missing:
    case ZipArchive::Status::Damaged:
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"в файле нет основного текста документа"));
    }
    // An encrypted package stores content.xml scrambled, declared in the manifest.
    QByteArray manifest;
    if (zip.Read(QStringLiteral("META-INF/manifest.xml"), manifest) == ZipArchive::Status::Ok &&
        manifest.contains("encryption-data") && !content.startsWith("<?xml") && !content.startsWith("<"))
        return ParsedDocument::Failure(ExtractError::PasswordProtected);

    GuardedXmlReader reader(content, OdtReader::kMaxDepth);
    ContentWalker walker(reader);
    QString why;
    if (!walker.Walk(why)) {
        const bool tooLong =
            walker.m_body.Overflowed() || walker.m_footnotes.Overflowed() || walker.m_endnotes.Overflowed();
        return ParsedDocument::Failure(tooLong ? ExtractError::TooLarge : ExtractError::Damaged,
                                       QStringLiteral(u"ошибка в тексте документа: ") + why);
    }
    ParsedDocument doc;
    doc.stories = {walker.m_body.Take(), walker.m_footnotes.Take(), walker.m_endnotes.Take()};
    return doc;
}
