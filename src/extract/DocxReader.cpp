#include "extract/DocxReader.h"

#include "extract/GuardedXmlReader.h"
#include "extract/RunLook.h"
#include "extract/TextBuilder.h"
#include "extract/ZipArchive.h"

#include <QHash>

#include <utility>
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

// A toggle property: on unless its value says off.
int onOff(QStringView value)
{
    return value == u"0" || value == u"false" || value == u"off" ? 0 : 1;
}

int highlightColor(QStringView name)
{
    static const struct
    {
        const char16_t* name;
        int color;
    } kColors[] = {
        {u"black", 0x000000},    {u"blue", 0x0000FF},       {u"cyan", 0x00FFFF},      {u"green", 0x00FF00},
        {u"magenta", 0xFF00FF},  {u"red", 0xFF0000},        {u"yellow", 0xFFFF00},    {u"white", 0xFFFFFF},
        {u"darkBlue", 0x000080}, {u"darkCyan", 0x008080},   {u"darkGreen", 0x008000}, {u"darkMagenta", 0x800080},
        {u"darkRed", 0x800000},  {u"darkYellow", 0x808000}, {u"darkGray", 0x808080},  {u"lightGray", 0xC0C0C0}};
    for (const auto& entry : kColors)
        if (name == QStringView(entry.name))
            return entry.color;
    return RunLook::kUnset;
}

// The colour a w:shd paints: its pattern colour when solid, else its fill.
int shadingColor(const QXmlStreamReader& xml)
{
    if (wordAttribute(xml, u"val") == u"solid") {
        const int color = RunLook::ParseHexColor(wordAttribute(xml, u"color"));
        if (color >= 0)
            return color;
    }
    const int fill = RunLook::ParseHexColor(wordAttribute(xml, u"fill"));
    return fill >= 0 ? fill : RunLook::kUnset;
}

// Reads one child of a w:rPr into look; w:rStyle is the caller's.
void readRunProperty(QStringView name, const QXmlStreamReader& xml, RunLook& look)
{
    if (name == u"vanish" || name == u"specVanish") {
        // specVanish hides a run whatever the view shows; either hides it on paper.
        look.hidden = onOff(wordAttribute(xml, u"val"));
    } else if (name == u"color") {
        look.color = RunLook::ParseHexColor(wordAttribute(xml, u"val"));
    } else if (name == u"sz") {
        bool ok = false;
        const int halfPoints = wordAttribute(xml, u"val").toInt(&ok);
        if (ok && halfPoints > 0 && halfPoints < 10000)
            look.size = halfPoints * 50;
    } else if (name == u"shd") {
        look.background = shadingColor(xml);
    } else if (name == u"highlight") {
        look.background = highlightColor(wordAttribute(xml, u"val"));
    }
}

// The looks the package's styles give runs: document defaults, paragraph styles and
// character styles, each style over the one it is based on.
class StyleSheet
{
public:
    // Reads word/styles.xml; a damaged part leaves the styles it could read.
    void Load(const QByteArray& bytes);
    // The look of a paragraph's runs from its style (the default one when id is empty)
    // and the paragraph's shading from it.
    const RunLook& Paragraph(const QString& id, int& shading);
    const RunLook& Character(const QString& id);

    int page = RunLook::kUnset; // the page colour, from w:background

private:
    static constexpr int kMaxChain = 16;
    struct Style
    {
        QString basedOn;
        RunLook run;
        int shading = RunLook::kUnset;
    };
    struct Resolved
    {
        RunLook run;
        int shading = RunLook::kUnset;
    };
    Resolved resolve(const QString& id, bool paragraph);

    QHash<QString, Style> m_paragraphStyles;
    QHash<QString, Style> m_characterStyles;
    QHash<QString, Resolved> m_paragraphLooks;
    QHash<QString, Resolved> m_characterLooks;
    RunLook m_defaults;
    QString m_defaultParagraph;
};

void StyleSheet::Load(const QByteArray& bytes)
{
    GuardedXmlReader reader(bytes, DocxReader::kMaxDepth);
    QXmlStreamReader& xml = reader.Xml();
    QString why;
    Style* style = nullptr;
    RunLook* runProperties = nullptr;
    int runDepth = -1;
    int paragraphDepth = -1;
    int styleDepth = -1;
    Style ignored;
    while (reader.Next(why)) {
        if (xml.tokenType() == QXmlStreamReader::EndElement) {
            if (reader.Depth() == runDepth)
                runDepth = -1;
            else if (reader.Depth() == paragraphDepth)
                paragraphDepth = -1;
            else if (reader.Depth() == styleDepth)
                style = nullptr;
            continue;
        }
        if (xml.tokenType() != QXmlStreamReader::StartElement || !isWordNamespace(xml.namespaceUri()))
            continue;
        const QStringView name = xml.name();
        const int depth = reader.Depth();
        if (runDepth >= 0) {
            if (depth == runDepth + 1)
                readRunProperty(name, xml, *runProperties);
        } else if (paragraphDepth >= 0) {
            if (depth == paragraphDepth + 1 && name == u"shd" && style)
                style->shading = shadingColor(xml);
        } else if (name == u"style") {
            const QString type = wordAttribute(xml, u"type");
            const QString id = wordAttribute(xml, u"styleId");
            if (type == u"paragraph") {
                style = &m_paragraphStyles[id];
                const QString isDefault = wordAttribute(xml, u"default");
                if (!isDefault.isEmpty() && onOff(isDefault) == 1)
                    m_defaultParagraph = id;
            } else if (type == u"character") {
                style = &m_characterStyles[id];
            } else {
                ignored = Style();
                style = &ignored;
            }
            styleDepth = depth;
        } else if (name == u"basedOn" && style) {
            style->basedOn = wordAttribute(xml, u"val");
        } else if (name == u"rPr") {
            runProperties = style ? &style->run : &m_defaults;
            runDepth = depth;
        } else if (name == u"pPr" && style) {
            paragraphDepth = depth;
        }
    }
}

StyleSheet::Resolved StyleSheet::resolve(const QString& id, bool paragraph)
{
    const QHash<QString, Style>& styles = paragraph ? m_paragraphStyles : m_characterStyles;
    std::vector<const Style*> chain;
    QString next = id;
    while (!next.isEmpty() && chain.size() < kMaxChain) {
        const auto it = styles.constFind(next);
        if (it == styles.constEnd())
            break;
        chain.push_back(&*it);
        next = it->basedOn;
    }
    Resolved resolved;
    if (paragraph)
        resolved.run = m_defaults;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        resolved.run = resolved.run.Over((*it)->run);
        if ((*it)->shading != RunLook::kUnset)
            resolved.shading = (*it)->shading;
    }
    return resolved;
}

const RunLook& StyleSheet::Paragraph(const QString& id, int& shading)
{
    const QString& key = id.isEmpty() ? m_defaultParagraph : id;
    auto it = m_paragraphLooks.find(key);
    if (it == m_paragraphLooks.end())
        it = m_paragraphLooks.insert(key, resolve(key, true));
    shading = it->shading;
    return it->run;
}

const RunLook& StyleSheet::Character(const QString& id)
{
    auto it = m_characterLooks.find(id);
    if (it == m_characterLooks.end())
        it = m_characterLooks.insert(id, resolve(id, false));
    return it->run;
}

// Walks one part's XML and writes its text. Notes parts give one paragraph list per
// note; separator notes are skipped.
class PartWalker
{
public:
    PartWalker(GuardedXmlReader& reader, TextBuilder& out, StyleSheet& styles)
        : m_reader(reader), m_xml(reader.Xml()), m_out(out), m_styles(styles)
    {
    }

    // False with a reason when the XML is malformed, too deep or carries a DTD.
    bool Walk(QString& why);

private:
    enum class Properties
    {
        Paragraph,
        Run,
        Cell,
    };
    struct ParagraphState
    {
        RunLook look;
        int shading = RunLook::kUnset;
        QString style;
        int ownShading = RunLook::kUnset;
    };
    struct RunState
    {
        QString style;
        RunLook look;
    };

    void OnStartElement(QStringView name, bool word);
    void OnEndElement(QStringView name, bool word);
    void OnProperty(QStringView name);
    void OnEndProperties();
    void UpdateHidden();
    bool codeHidden() const;

    GuardedXmlReader& m_reader;
    QXmlStreamReader& m_xml;
    TextBuilder& m_out;
    StyleSheet& m_styles;
    int m_propertiesDepth = -1; // depth of the open w:pPr, w:rPr or w:tcPr, -1 for none
    Properties m_properties = Properties::Run;
    // Open paragraphs, runs and cells, innermost last (text boxes nest them).
    std::vector<ParagraphState> m_paragraphs;
    std::vector<RunState> m_runs;
    std::vector<int> m_cellShading; // the shading under each open cell
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

void PartWalker::OnStartElement(QStringView name, bool word)
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
        name == u"delInstrText" || name == u"sdtPr" || name == u"tblPr" || name == u"trPr" || name == u"sectPr" ||
        name == u"commentReference" || name == u"footnoteReference" || name == u"endnoteReference") {
        m_skipDepth = m_reader.Depth();
        return;
    }
    if (name == u"pPr" || name == u"rPr" || name == u"tcPr") {
        // Only the properties of the element they belong to are read; a run's rPr
        // outside a run (the paragraph mark's, inside pPr) never gets here.
        m_propertiesDepth = m_reader.Depth();
        m_properties = name == u"pPr" ? Properties::Paragraph : name == u"rPr" ? Properties::Run : Properties::Cell;
        if ((m_properties == Properties::Paragraph && m_paragraphs.empty()) ||
            (m_properties == Properties::Run && m_runs.empty()) ||
            (m_properties == Properties::Cell && m_cellShading.empty()))
            m_skipDepth = std::exchange(m_propertiesDepth, -1);
        return;
    }
    if (name == u"p") {
        ParagraphState paragraph;
        paragraph.look = m_styles.Paragraph({}, paragraph.shading);
        m_paragraphs.push_back(paragraph);
        return;
    }
    if (name == u"r") {
        m_runs.emplace_back();
        UpdateHidden();
        return;
    }
    if (name == u"tc") {
        m_cellShading.push_back(m_cellShading.empty() ? RunLook::kUnset : m_cellShading.back());
        return;
    }
    if (name == u"background") {
        const int page = RunLook::ParseHexColor(wordAttribute(m_xml, u"color"));
        if (page >= 0)
            m_styles.page = page;
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

void PartWalker::OnEndElement(QStringView name, bool word)
{
    if (m_xml.namespaceUri() == u"http://schemas.openxmlformats.org/markup-compatibility/2006") {
        if (name == u"AlternateContent" && !m_choiceTaken.empty())
            m_choiceTaken.pop_back();
        return;
    }
    if (!word)
        return;
    if (name == u"t") {
        m_inText = false;
    } else if (name == u"r") {
        if (!m_runs.empty())
            m_runs.pop_back();
        UpdateHidden();
    } else if (name == u"p") {
        if (!m_paragraphs.empty())
            m_paragraphs.pop_back();
        m_out.ParagraphEnd();
    } else if (name == u"tc") {
        if (!m_cellShading.empty())
            m_cellShading.pop_back();
        m_out.CellEnd();
    } else if (name == u"tr") {
        m_out.RowEnd();
    }
}

void PartWalker::OnProperty(QStringView name)
{
    switch (m_properties) {
    case Properties::Paragraph:
        if (name == u"pStyle")
            m_paragraphs.back().style = wordAttribute(m_xml, u"val");
        else if (name == u"shd")
            m_paragraphs.back().ownShading = shadingColor(m_xml);
        break;
    case Properties::Run:
        if (name == u"rStyle")
            m_runs.back().style = wordAttribute(m_xml, u"val");
        else
            readRunProperty(name, m_xml, m_runs.back().look);
        break;
    case Properties::Cell:
        if (name == u"shd") {
            const int shading = shadingColor(m_xml);
            if (shading != RunLook::kUnset)
                m_cellShading.back() = shading;
        }
        break;
    }
}

void PartWalker::OnEndProperties()
{
    m_propertiesDepth = -1;
    if (m_properties == Properties::Paragraph) {
        ParagraphState& paragraph = m_paragraphs.back();
        paragraph.look = m_styles.Paragraph(paragraph.style, paragraph.shading);
        if (paragraph.ownShading != RunLook::kUnset)
            paragraph.shading = paragraph.ownShading;
    } else if (m_properties == Properties::Run) {
        UpdateHidden();
    }
}

void PartWalker::UpdateHidden()
{
    if (m_runs.empty()) {
        m_out.SetHidden(false);
        return;
    }
    const RunState& run = m_runs.back();
    int paragraphShading = RunLook::kUnset;
    const RunLook& paragraph =
        m_paragraphs.empty() ? m_styles.Paragraph({}, paragraphShading) : m_paragraphs.back().look;
    if (!m_paragraphs.empty())
        paragraphShading = m_paragraphs.back().shading;
    const RunLook look = paragraph.Over(m_styles.Character(run.style)).Over(run.look);
    int behind = m_styles.page;
    if (!m_cellShading.empty() && m_cellShading.back() != RunLook::kUnset)
        behind = m_cellShading.back();
    if (paragraphShading != RunLook::kUnset)
        behind = paragraphShading;
    m_out.SetHidden(look.Invisible(behind));
}

bool PartWalker::Walk(QString& why)
{
    while (m_reader.Next(why)) {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::StartElement:
            if (m_skipDepth >= 0)
                break;
            if (m_propertiesDepth < 0)
                OnStartElement(m_xml.name(), isWordNamespace(m_xml.namespaceUri()));
            else if (m_reader.Depth() == m_propertiesDepth + 1 && isWordNamespace(m_xml.namespaceUri()))
                OnProperty(m_xml.name());
            break;
        case QXmlStreamReader::EndElement:
            if (m_skipDepth >= 0) {
                if (m_skipDepth == m_reader.Depth())
                    m_skipDepth = -1;
            } else if (m_propertiesDepth < 0) {
                OnEndElement(m_xml.name(), isWordNamespace(m_xml.namespaceUri()));
            } else if (m_propertiesDepth == m_reader.Depth()) {
                OnEndProperties();
            }
            break;
        case QXmlStreamReader::Characters:
            if (m_skipDepth < 0 && m_propertiesDepth < 0 && m_inText && !codeHidden())
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
ExtractError readPart(const ZipArchive& zip, const QString& name, bool optional, StyleSheet& styles, QString& story,
                      QList<HiddenSpan>& hidden, QString& why)
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
    PartWalker walker(reader, out, styles);
    if (!walker.Walk(why)) {
        why = name + QStringLiteral(": ") + why;
        return out.Overflowed() ? ExtractError::TooLarge : ExtractError::Damaged;
    }
    story = out.Take(&hidden);
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
    QString stylesPart = relationshipTarget(zip, rels, u"/styles", folder);
    if (stylesPart.isEmpty())
        stylesPart = folder + QStringLiteral("styles.xml");

    // Styles only tell which runs are hidden: a package without them, or with a part
    // that does not read, still gives its text.
    StyleSheet styles;
    QByteArray stylesBytes;
    if (zip.Read(stylesPart, stylesBytes) == ZipArchive::Status::Ok)
        styles.Load(stylesBytes);

    ParsedDocument doc;
    QString story;
    QList<HiddenSpan> hidden;
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
        hidden.clear();
        const ExtractError error = readPart(zip, part.name, part.optional, styles, story, hidden, why);
        if (error != ExtractError::None)
            return ParsedDocument::Failure(error, why);
        doc.AddStory(story, hidden);
    }
    return doc;
}
