#include "extract/DocxReader.h"

#include "extract/GuardedXmlReader.h"
#include "extract/TextBuilder.h"
#include "extract/ZipArchive.h"

#include <vector>

namespace {

const QString kMainPart = QStringLiteral("word/document.xml");

bool isWordNamespace(QStringView uri)
{
    return uri == u"http://schemas.openxmlformats.org/wordprocessingml/2006/main" ||
           uri == u"http://purl.oclc.org/ooxml/wordprocessingml/main";
}

QString wordAttribute(const QXmlStreamReader& xml, QStringView name)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
        if (attribute.name() == name && isWordNamespace(attribute.namespaceUri()))
            return attribute.value().toString();
    return {};
}

// Walks one part's XML and writes its text. Notes parts give one paragraph list per
// note; separator notes are skipped.
class PartWalker
{
public:
    PartWalker(GuardedXmlReader& reader, TextBuilder& out) : m_reader(reader), m_xml(reader.Xml()), m_out(out) {}

    // False with a reason when the XML is malformed, too deep or carries a DTD.
    bool Walk(QString& why);

private:
    void startElement(QStringView name, bool word);
    void endElement(QStringView name, bool word);
    bool codeHidden() const;

    GuardedXmlReader& m_reader;
    QXmlStreamReader& m_xml;
    TextBuilder& m_out;
    // One entry per open complex field: true while its code part is being read.
    std::vector<bool> m_fields;
    int m_skipDepth = -1; // depth of the element whose subtree is skipped, -1 for none
    bool m_inText = false;
    std::vector<bool> m_choiceTaken; // per open mc:AlternateContent
};

bool PartWalker::codeHidden() const
{
    for (const bool inCode : m_fields)
        if (inCode)
            return true;
    return false;
}

void PartWalker::startElement(QStringView name, bool word)
{
    const QStringView ns = m_xml.namespaceUri();
    if (ns == u"http://schemas.openxmlformats.org/markup-compatibility/2006") {
        if (name == u"AlternateContent") {
            m_choiceTaken.push_back(false);
        } else if (!m_choiceTaken.empty() && (name == u"Choice" || name == u"Fallback")) {
            // The alternatives repeat one content: read only the first.
            if (m_choiceTaken.back())
                m_skipDepth = m_reader.Depth();
            m_choiceTaken.back() = true;
        }
        return;
    }
    if (!word)
        return;
    if (name == u"del" || name == u"moveFrom" || name == u"instrText" || name == u"delText" ||
        name == u"delInstrText" || name == u"pPr" || name == u"rPr" || name == u"sdtPr" || name == u"tblPr" ||
        name == u"trPr" || name == u"tcPr" || name == u"sectPr" || name == u"commentReference" ||
        name == u"footnoteReference" || name == u"endnoteReference") {
        m_skipDepth = m_reader.Depth();
        return;
    }
    if (name == u"footnote" || name == u"endnote") {
        const QString type = wordAttribute(m_xml, u"type");
        if (type == u"separator" || type == u"continuationSeparator" || type == u"continuationNotice")
            m_skipDepth = m_reader.Depth();
        return;
    }
    if (name == u"t") {
        m_inText = true;
        return;
    }
    const bool hidden = codeHidden();
    if (name == u"fldChar") {
        const QString type = wordAttribute(m_xml, u"fldCharType");
        if (type == u"begin") {
            if (m_fields.size() < 64)
                m_fields.push_back(true);
        } else if (type == u"separate") {
            if (!m_fields.empty())
                m_fields.back() = false;
        } else if (type == u"end") {
            if (!m_fields.empty())
                m_fields.pop_back();
        }
    } else if (hidden) {
        return;
    } else if (name == u"tab" && wordAttribute(m_xml, u"val").isEmpty()) {
        m_out.Tab();
    } else if (name == u"br" || name == u"cr") {
        m_out.LineBreak();
    } else if (name == u"noBreakHyphen") {
        m_out.AddChar(u'-');
    } else if (name == u"softHyphen") {
        m_out.AddChar(u'\u00AD'); // as the other formats give it
    }
}

void PartWalker::endElement(QStringView name, bool word)
{
    if (m_xml.namespaceUri() == u"http://schemas.openxmlformats.org/markup-compatibility/2006") {
        if (name == u"AlternateContent" && !m_choiceTaken.empty())
            m_choiceTaken.pop_back();
        return;
    }
    if (!word)
        return;
    if (name == u"t")
        m_inText = false;
    else if (name == u"p")
        m_out.ParagraphEnd();
    else if (name == u"tc")
        m_out.CellEnd();
    else if (name == u"tr")
        m_out.RowEnd();
}

bool PartWalker::Walk(QString& why)
{
    while (m_reader.Next(why)) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::StartElement:
            if (m_skipDepth < 0)
                startElement(m_xml.name(), isWordNamespace(m_xml.namespaceUri()));
            break;
        case QXmlStreamReader::EndElement:
            if (m_skipDepth < 0)
                endElement(m_xml.name(), isWordNamespace(m_xml.namespaceUri()));
            else if (m_skipDepth == m_reader.Depth())
                m_skipDepth = -1;
            break;
        case QXmlStreamReader::Characters:
            if (m_skipDepth < 0 && m_inText && !codeHidden())
                m_out.AddText(m_xml.text());
            break;
        default:
            break;
        }
        if (m_out.Overflowed()) {
            why = QStringLiteral(u"текст слишком длинный");
            return false;
        }
    }
    return why.isEmpty();
}

// Target of the first relationship of the given type ending, resolved against base.
QString relationshipTarget(const ZipArchive& zip, const QString& relsPath, QStringView typeSuffix, const QString& base)
{
    QByteArray rels;
    if (zip.Read(relsPath, rels) != ZipArchive::Status::Ok)
        return {};
    GuardedXmlReader reader(rels, 8);
    QXmlStreamReader& xml = reader.Xml();
    QString why;
    while (reader.Next(why)) {
        if (xml.tokenType() != QXmlStreamReader::StartElement || xml.name() != u"Relationship" ||
            !xml.attributes().value(QStringLiteral("Type")).endsWith(typeSuffix) ||
            xml.attributes().value(QStringLiteral("TargetMode")) == u"External")
            continue;
        QString target = xml.attributes().value(QStringLiteral("Target")).toString();
        if (target.startsWith(u'/'))
            return target.mid(1);
        return base + target;
    }
    return {};
}

ExtractError fromZipStatus(ZipArchive::Status status)
{
    switch (status) {
    case ZipArchive::Status::Ok:
        return ExtractError::None;
    case ZipArchive::Status::TooLarge:
        return ExtractError::TooLarge;
    case ZipArchive::Status::Encrypted:
        return ExtractError::PasswordProtected;
    case ZipArchive::Status::Missing:
    case ZipArchive::Status::Damaged:
        break;
    }
    return ExtractError::Damaged;
}

// Reads one part into a story; a missing optional part gives an empty story.
ExtractError readPart(const ZipArchive& zip, const QString& name, bool optional, QString& story, QString& why)
{
    QByteArray bytes;
    const ZipArchive::Status status = zip.Read(name, bytes);
    if (status == ZipArchive::Status::Missing && optional)
        return ExtractError::None;
    if (status != ZipArchive::Status::Ok) {
        why = name;
        return fromZipStatus(status);
    }
    GuardedXmlReader reader(bytes, DocxReader::kMaxDepth);
    TextBuilder out;
    PartWalker walker(reader, out);
    if (!walker.Walk(why)) {
        why = name + QStringLiteral(": ") + why;
        return out.Overflowed() ? ExtractError::TooLarge : ExtractError::Damaged;
    }
    story = out.Take();
    return ExtractError::None;
}

} // namespace

ParsedDocument DocxReader::Read(const QByteArray& bytes)
{
    ZipArchive zip;
    if (!zip.Open(bytes))
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"или это не документ Word формата .docx"));
    QString main = relationshipTarget(zip, QStringLiteral("_rels/.rels"), u"/officeDocument", QString());
    if (main.isEmpty() || !zip.Contains(main))
        main = kMainPart;
    if (!zip.Contains(main))
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"в файле нет основного текста документа"));

    const qsizetype slash = main.lastIndexOf(u'/');
    const QString folder = main.left(slash + 1);
    const QString rels = folder + QStringLiteral("_rels/") + main.mid(slash + 1) + QStringLiteral(".rels");
    QString footnotes = relationshipTarget(zip, rels, u"/footnotes", folder);
    QString endnotes = relationshipTarget(zip, rels, u"/endnotes", folder);

    ParsedDocument doc;
    QString story;
    QString why;
    struct Part
    {
        QString name;
        bool optional;
    };
    for (const Part& part : {Part{main, false}, Part{footnotes, true}, Part{endnotes, true}}) {
        if (part.name.isEmpty())
            continue;
        story.clear();
        const ExtractError error = readPart(zip, part.name, part.optional, story, why);
        if (error != ExtractError::None)
            return ParsedDocument::Failure(error, why);
        doc.stories.append(story);
    }
    return doc;
}
