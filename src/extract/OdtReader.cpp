#include "extract/OdtReader.h"

#include "extract/GuardedXmlReader.h"
#include "extract/RunLook.h"
#include "extract/TextBuilder.h"
#include "extract/ZipArchive.h"

#include <QHash>

#include <vector>

namespace {

const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kDrawNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString kSvgNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString kStyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kFoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");

// Spaces inserted by one <text:s>; more is no text anyone writes.
constexpr int kMaxSpaces = 1024;

// A length as hundredths of a point; 0 for a relative or unknown one.
int fontSize(QStringView text)
{
    static const struct
    {
        const char16_t* unit;
        double centipoints;
    } kUnits[] = {{u"pt", 100}, {u"pc", 1200}, {u"in", 7200}, {u"cm", 7200 / 2.54}, {u"mm", 720 / 2.54}, {u"px", 75}};
    for (const auto& unit : kUnits) {
        if (!text.endsWith(QStringView(unit.unit)))
            continue;
        bool ok = false;
        const double value = text.chopped(2).toDouble(&ok);
        return ok && value > 0 && value < 10000 ? std::max(1, int(value * unit.centipoints + 0.5)) : 0;
    }
    return 0;
}

int backgroundColor(const QXmlStreamReader& xml)
{
    const int color = RunLook::ParseHexColor(xml.attributes().value(kFoNs, QStringLiteral("background-color")));
    return color >= 0 ? color : RunLook::kUnset;
}

// The looks the document's styles give text: default, common and automatic styles of
// the paragraph, text and table cell families, each over its parent, and the page
// colour. Fed element by element, from styles.xml and from content.xml's head.
class StyleSheet
{
public:
    void Start(const QXmlStreamReader& xml, int depth);
    void End(int depth);
    // The look of text in a paragraph of the named style, and the paragraph's shading.
    RunLook Paragraph(QStringView name, int& shading);
    // The look a text style lays over the text around it.
    RunLook Text(QStringView name);
    int CellShading(QStringView name);
    int Page() const;

private:
    static constexpr int kMaxChain = 16;
    struct Style
    {
        QString parent;
        RunLook look;
        int shading = RunLook::kUnset;
    };
    // Family and name in one key: names are unique within a family only.
    static QString key(QStringView family, QStringView name);
    RunLook resolve(QStringView family, QStringView name, int* shading) const;

    QHash<QString, Style> m_styles;
    QHash<QString, int> m_layouts; // page layout name to its colour
    QString m_masterLayout;        // the page layout of the first master page
    Style m_current;
    QString m_currentKey;
    int m_currentDepth = -1;
    QString m_layout;
    int m_layoutDepth = -1;
};

QString StyleSheet::key(QStringView family, QStringView name)
{
    QString joined;
    joined.reserve(family.size() + 1 + name.size());
    joined.append(family).append(u':').append(name);
    return joined;
}

void StyleSheet::Start(const QXmlStreamReader& xml, int depth)
{
    const QStringView ns = xml.namespaceUri();
    const QStringView name = xml.name();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (ns != kStyleNs)
        return;
    if (name == u"style" || name == u"default-style") {
        const QStringView family = attributes.value(kStyleNs, QStringLiteral("family"));
        m_currentKey =
            name == u"style" ? key(family, attributes.value(kStyleNs, QStringLiteral("name"))) : key(family, u"");
        m_current = Style();
        m_current.parent = attributes.value(kStyleNs, QStringLiteral("parent-style-name")).toString();
        m_currentDepth = depth;
    } else if (m_currentDepth >= 0 && depth == m_currentDepth + 1) {
        if (name == u"text-properties") {
            RunLook& look = m_current.look;
            const QStringView display = attributes.value(kTextNs, QStringLiteral("display"));
            if (display == u"none")
                look.hidden = 1;
            else if (display == u"true")
                look.hidden = 0;
            if (attributes.value(kStyleNs, QStringLiteral("use-window-font-color")) == u"true")
                look.color = RunLook::kAuto;
            else if (attributes.hasAttribute(kFoNs, QStringLiteral("color")))
                look.color = RunLook::ParseHexColor(attributes.value(kFoNs, QStringLiteral("color")));
            if (const int size = fontSize(attributes.value(kFoNs, QStringLiteral("font-size"))))
                look.size = size;
            look.background = backgroundColor(xml);
        } else if (name == u"paragraph-properties" || name == u"table-cell-properties") {
            m_current.shading = backgroundColor(xml);
        }
    } else if (name == u"page-layout") {
        m_layout = attributes.value(kStyleNs, QStringLiteral("name")).toString();
        m_layoutDepth = depth;
    } else if (name == u"page-layout-properties" && m_layoutDepth >= 0) {
        m_layouts.insert(m_layout, backgroundColor(xml));
    } else if (name == u"master-page" && m_masterLayout.isNull()) {
        m_masterLayout = attributes.value(kStyleNs, QStringLiteral("page-layout-name")).toString();
    }
}

void StyleSheet::End(int depth)
{
    if (depth == m_currentDepth) {
        m_styles.insert(m_currentKey, m_current);
        m_currentDepth = -1;
    } else if (depth == m_layoutDepth) {
        m_layoutDepth = -1;
    }
}

RunLook StyleSheet::resolve(QStringView family, QStringView name, int* shading) const
{
    std::vector<const Style*> chain;
    QString next = name.toString();
    while (!next.isEmpty() && chain.size() < kMaxChain) {
        const auto it = m_styles.constFind(key(family, next));
        if (it == m_styles.constEnd())
            break;
        chain.push_back(&*it);
        next = it->parent;
    }
    // Paragraphs start from the family's default style; a text style only changes
    // what it names.
    RunLook look;
    if (family == u"paragraph") {
        const auto defaults = m_styles.constFind(key(family, u""));
        if (defaults != m_styles.constEnd()) {
            look = defaults->look;
            if (shading)
                *shading = defaults->shading;
        }
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        look = look.Over((*it)->look);
        if (shading && (*it)->shading != RunLook::kUnset)
            *shading = (*it)->shading;
    }
    return look;
}

RunLook StyleSheet::Paragraph(QStringView name, int& shading)
{
    shading = RunLook::kUnset;
    return resolve(u"paragraph", name, &shading);
}

RunLook StyleSheet::Text(QStringView name)
{
    return resolve(u"text", name, nullptr);
}

int StyleSheet::CellShading(QStringView name)
{
    int shading = RunLook::kUnset;
    resolve(u"table-cell", name, &shading);
    return shading;
}

int StyleSheet::Page() const
{
    return m_layouts.value(m_masterLayout, RunLook::kUnset);
}

class ContentWalker
{
public:
    ContentWalker(GuardedXmlReader& reader, StyleSheet& styles)
        : m_reader(reader), m_xml(reader.Xml()), m_styles(styles)
    {
    }
    bool Walk(QString& why);
    TextBuilder m_body;
    TextBuilder m_footnotes;
    TextBuilder m_endnotes;

private:
    TextBuilder& out() { return m_notes.empty() ? m_body : *m_notes.back(); }
    void OnStartElement();
    void OnEndElement();
    void OnCharacters(QStringView text);
    // Opens what sets the look of the text inside an element, closed by its end tag.
    void PushLook(const RunLook& look, int shading, bool hidden);
    void UpdateHidden();

    // The look of the text inside an open paragraph, span, cell or section.
    struct Look
    {
        int depth;
        RunLook look;
        int shading;
        bool hidden; // a hidden section or hidden-text field, whatever the style says
    };

    GuardedXmlReader& m_reader;
    QXmlStreamReader& m_xml;
    StyleSheet& m_styles;
    std::vector<Look> m_looks;
    int m_skipDepth = -1;
    int m_bodyDepth = -1;              // depth of office:text
    std::vector<TextBuilder*> m_notes; // open notes, innermost last
    std::vector<int> m_noteDepths;
    std::vector<bool> m_spaceBeforeNote; // whitespace state of the paragraph a note sits in
    int m_paragraphDepth = 0;            // open text:p / text:h
    bool m_lastWasSpace = true;          // ODF whitespace collapsing inside a paragraph
    int m_page = RunLook::kUnset;        // the page colour
};

void ContentWalker::PushLook(const RunLook& look, int shading, bool hidden)
{
    const Look outer = m_looks.empty() ? Look{-1, RunLook(), RunLook::kUnset, false} : m_looks.back();
    m_looks.push_back(
        Look{m_reader.Depth(), look, shading != RunLook::kUnset ? shading : outer.shading, hidden || outer.hidden});
    UpdateHidden();
}

void ContentWalker::UpdateHidden()
{
    if (m_looks.empty()) {
        out().SetHidden(false);
        return;
    }
    const Look& look = m_looks.back();
    out().SetHidden(look.hidden || look.look.Invisible(look.shading != RunLook::kUnset ? look.shading : m_page));
}

void ContentWalker::OnStartElement()
{
    const QStringView ns = m_xml.namespaceUri();
    const QStringView name = m_xml.name();
    if (m_bodyDepth < 0) {
        if (ns == kOfficeNs && name == u"text") {
            m_bodyDepth = m_reader.Depth();
            m_page = m_styles.Page();
        } else {
            m_styles.Start(m_xml, m_reader.Depth());
        }
        return;
    }
    const QStringView styleName = m_xml.attributes().value(kTextNs, QStringLiteral("style-name"));
    const RunLook around = m_looks.empty() ? RunLook() : m_looks.back().look;
    if (ns == kTextNs && (name == u"p" || name == u"h")) {
        int shading = RunLook::kUnset;
        const RunLook look = m_styles.Paragraph(styleName, shading);
        PushLook(look, shading, false);
    } else if (ns == kTextNs && (name == u"span" || name == u"a")) {
        PushLook(around.Over(m_styles.Text(styleName)), RunLook::kUnset, false);
    } else if (ns == kTextNs && name == u"section") {
        PushLook(around, RunLook::kUnset, m_xml.attributes().value(kTextNs, QStringLiteral("display")) == u"none");
    } else if (ns == kTextNs && name == u"hidden-text") {
        PushLook(around, RunLook::kUnset, m_xml.attributes().value(kTextNs, QStringLiteral("is-hidden")) == u"true");
    } else if (ns == kTableNs && name == u"table-cell") {
        PushLook(around, m_styles.CellShading(m_xml.attributes().value(kTableNs, QStringLiteral("style-name"))), false);
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

void ContentWalker::OnEndElement()
{
    const QStringView ns = m_xml.namespaceUri();
    const QStringView name = m_xml.name();
    if (m_reader.Depth() == m_bodyDepth) {
        m_bodyDepth = -2; // the body is done; nothing after it is text
        return;
    }
    if (!m_looks.empty() && m_looks.back().depth == m_reader.Depth()) {
        m_looks.pop_back();
        UpdateHidden();
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
            UpdateHidden();
        }
    } else if (ns == kTableNs) {
        if (name == u"table-cell")
            out().CellEnd();
        else if (name == u"table-row")
            out().RowEnd();
    }
}

void ContentWalker::OnCharacters(QStringView text)
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
                OnStartElement();
            break;
        case QXmlStreamReader::EndElement:
            if (m_skipDepth < 0) {
                if (m_bodyDepth >= 0)
                    OnEndElement();
                else if (m_bodyDepth == -1)
                    m_styles.End(m_reader.Depth());
            } else if (m_skipDepth == m_reader.Depth()) {
                m_skipDepth = -1;
            }
            break;
        case QXmlStreamReader::Characters:
            if (m_skipDepth < 0 && m_bodyDepth >= 0)
                OnCharacters(m_xml.text());
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

    // Common styles and page layouts live in styles.xml; they only tell which text is
    // hidden, so a package without them, or with a part that does not read, still reads.
    StyleSheet styles;
    QByteArray stylesBytes;
    if (zip.Read(QStringLiteral("styles.xml"), stylesBytes) == ZipArchive::Status::Ok) {
        GuardedXmlReader stylesReader(stylesBytes, OdtReader::kMaxDepth);
        QString ignored;
        while (stylesReader.Next(ignored)) {
            if (stylesReader.Xml().tokenType() == QXmlStreamReader::StartElement)
                styles.Start(stylesReader.Xml(), stylesReader.Depth());
            else if (stylesReader.Xml().tokenType() == QXmlStreamReader::EndElement)
                styles.End(stylesReader.Depth());
        }
    }

    GuardedXmlReader reader(content, OdtReader::kMaxDepth);
    ContentWalker walker(reader, styles);
    QString why;
    if (!walker.Walk(why)) {
        const bool tooLong =
            walker.m_body.Overflowed() || walker.m_footnotes.Overflowed() || walker.m_endnotes.Overflowed();
        return ParsedDocument::Failure(tooLong ? ExtractError::TooLarge : ExtractError::Damaged,
                                       QStringLiteral(u"ошибка в тексте документа: ") + why);
    }
    ParsedDocument doc;
    for (TextBuilder* story : {&walker.m_body, &walker.m_footnotes, &walker.m_endnotes}) {
        QList<HiddenSpan> hidden;
        const QString text = story->Take(&hidden);
        doc.AddStory(text, hidden);
    }
    return doc;
}
