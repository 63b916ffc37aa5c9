#include "extract/RtfReader.h"

#include "extract/CodePage.h"
#include "extract/RunLook.h"
#include "extract/TextBuilder.h"

#include <QHash>

#include <vector>

namespace {

enum class Target
{
    Body,
    Footnotes,
    Endnotes,
    FontTable,
    ColorTable,
    Skip,
};

struct GroupState
{
    Target target = Target::Body;
    int uc = 1;
    int codePage = 0; // 0: the document's code page
    bool deleted = false;
    bool firstWord = true;  // no control word seen yet in this group
    bool ignorable = false; // the group began with \*
    // Character look: \v, \cf, \cb (or \chcbpat, \highlight) and \fs as colour table
    // indexes and half-points, 0 for the default; and the paragraph's \cbpat.
    bool hidden = false;
    int color = 0;
    int background = 0;
    int size = 0;
    int paragraphShading = 0;
};

// Entries read from one colour table; more is no document anyone writes.
constexpr int kMaxColors = 4096;

// 8-bit text is decoded in batches of about this many bytes, and never more than
// kMaxPending at once.
constexpr qsizetype kFlushBytes = 64 * 1024;
constexpr qsizetype kMaxPending = 1024 * 1024;

bool isSkippedDestination(QByteArrayView word)
{
    static const QByteArrayView kSkipped[] = {"colortbl",
                                              "stylesheet",
                                              "info",
                                              "pict",
                                              "header",
                                              "headerl",
                                              "headerr",
                                              "headerf",
                                              "footer",
                                              "footerl",
                                              "footerr",
                                              "footerf",
                                              "annotation",
                                              "atnid",
                                              "atnauthor",
                                              "atntime",
                                              "atnref",
                                              "atndate",
                                              "fldinst",
                                              "datastore",
                                              "themedata",
                                              "colorschememapping",
                                              "latentstyles",
                                              "listtable",
                                              "listoverridetable",
                                              "rsidtbl",
                                              "generator",
                                              "xmlnstbl",
                                              "pgdsctbl",
                                              "revtbl",
                                              "bkmkstart",
                                              "bkmkend",
                                              "pntext",
                                              "pntxta",
                                              "pntxtb",
                                              "listtext",
                                              "template",
                                              "filetbl",
                                              "nonshppict",
                                              "shpinst",
                                              "shprslt",
                                              "sp",
                                              "sn",
                                              "sv",
                                              "objdata",
                                              "objclass",
                                              "xe",
                                              "tc",
                                              "ftnsep",
                                              "ftnsepc",
                                              "aftnsep",
                                              "aftnsepc",
                                              "ftncn",
                                              "aftncn",
                                              "docvar",
                                              "userprops",
                                              "private",
                                              "protusertbl",
                                              "falt",
                                              "panose",
                                              "fname",
                                              "mmathPr",
                                              "operator",
                                              "author",
                                              "title",
                                              "subject",
                                              "keywords",
                                              "comment",
                                              "doccomm"};
    for (const QByteArrayView skipped : kSkipped)
        if (word == skipped)
            return true;
    return false;
}

char16_t symbolFor(QByteArrayView word)
{
    if (word == "emdash")
        return 0x2014;
    if (word == "endash")
        return 0x2013;
    if (word == "bullet")
        return 0x2022;
    if (word == "lquote")
        return 0x2018;
    if (word == "rquote")
        return 0x2019;
    if (word == "ldblquote")
        return 0x201C;
    if (word == "rdblquote")
        return 0x201D;
    if (word == "emspace" || word == "enspace" || word == "qmspace")
        return u' ';
    return 0;
}

class RtfParser
{
public:
    explicit RtfParser(const QByteArray& bytes) : m_bytes(bytes) {}
    ParsedDocument Parse();

private:
    TextBuilder* out();
    bool visible() const;
    bool invisibleOnPaper() const;
    int colorAt(int index) const;
    bool characterLook(QByteArrayView word, bool hasParam, int value);
    void FlushBytes();
    void FlushWholeCharacters();
    void AddByte(char b);
    void AddChar(char16_t c);
    void ControlWord(QByteArrayView word, bool hasParam, long long param);
    void ControlSymbol(char c);
    int fontCodePage(int font) const;

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack{GroupState{}};
    TextBuilder m_body;
    TextBuilder m_footnotes;
    TextBuilder m_endnotes;
    QByteArray m_pending; // 8-bit text waiting to be decoded in one go
    int m_pendingCodePage = 0;
    int m_defaultCodePage = 1252;
    int m_defaultFont = -1;
    int m_tableFont = -1; // font being described in the font table
    QHash<int, int> m_fontCodePages;
    int m_skipUnits = 0;       // units still to skip after \uN
    std::vector<int> m_colors; // the colour table; kAuto for an entry without a colour
    int m_nextColor = RunLook::kAuto;
};

TextBuilder* RtfParser::out()
{
    switch (m_stack.back().target) {
    case Target::Body:
        return &m_body;
    case Target::Footnotes:
        return &m_footnotes;
    case Target::Endnotes:
        return &m_endnotes;
    case Target::FontTable:
    case Target::ColorTable:
    case Target::Skip:
        return nullptr;
    }
    return nullptr;
}

bool RtfParser::visible() const
{
    const GroupState& state = m_stack.back();
    return !state.deleted && state.target != Target::Skip && state.target != Target::FontTable &&
           state.target != Target::ColorTable;
}

int RtfParser::colorAt(int index) const
{
    return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : RunLook::kAuto;
}

bool RtfParser::invisibleOnPaper() const
{
    const GroupState& state = m_stack.back();
    RunLook look;
    look.hidden = state.hidden ? 1 : 0;
    look.size = state.size * 50;
    look.color = colorAt(state.color);
    look.background = state.background > 0 ? colorAt(state.background) : RunLook::kUnset;
    return look.Invisible(state.paragraphShading > 0 ? colorAt(state.paragraphShading) : RunLook::kUnset);
}

// The character and paragraph properties that decide whether text shows; false for
// any other word.
bool RtfParser::characterLook(QByteArrayView word, bool hasParam, int value)
{
    GroupState& state = m_stack.back();
    if (word == "v")
        state.hidden = !hasParam || value != 0;
    else if (word == "cf")
        state.color = value;
    else if (word == "cb" || word == "chcbpat" || word == "highlight")
        state.background = value;
    else if (word == "fs")
        state.size = std::clamp(value, 0, 10000);
    else if (word == "cbpat")
        state.paragraphShading = value;
    else if (word == "pard")
        state.paragraphShading = 0;
    else
        return false;
    return true;
}

int RtfParser::fontCodePage(int font) const
{
    return m_fontCodePages.value(font, 0);
}

void RtfParser::FlushBytes()
{
    if (m_pending.isEmpty())
        return;
    if (TextBuilder* builder = out()) {
        const int cp = m_pendingCodePage > 0 ? m_pendingCodePage : m_defaultCodePage;
        builder->SetHidden(invisibleOnPaper());
        builder->AddText(CodePage::Decode(m_pending, cp));
    }
    m_pending.clear();
}

void RtfParser::FlushWholeCharacters()
{
    // The run starts at a character boundary: walk it to find where the last one ends.
    const int cp = m_pendingCodePage > 0 ? m_pendingCodePage : m_defaultCodePage;
    qsizetype end = 0;
    for (qsizetype i = 0; i < m_pending.size(); ++i) {
        if (CodePage::IsLeadByte(static_cast<unsigned char>(m_pending.at(i)), cp)) {
            if (i + 1 == m_pending.size())
                break;
            ++i;
        }
        end = i + 1;
    }
    const QByteArray rest = m_pending.sliced(end);
    m_pending.truncate(end);
    FlushBytes();
    m_pending = rest;
}

void RtfParser::AddByte(char b)
{
    if (m_skipUnits > 0) {
        --m_skipUnits;
        return;
    }
    if (m_stack.back().target == Target::ColorTable) {
        if (b == ';') {
            if (m_colors.size() < size_t(kMaxColors))
                m_colors.push_back(m_nextColor);
            m_nextColor = RunLook::kAuto;
        }
        return;
    }
    if (!visible())
        return;
    const int cp = m_stack.back().codePage;
    if (!m_pending.isEmpty() && cp != m_pendingCodePage)
        FlushBytes();
    m_pendingCodePage = cp;
    m_pending.append(b);
    // Decode as the text goes, so that the text's own limit is checked while reading.
    // A byte below 0x80 never leads a double-byte character, so cutting after it is
    // safe in every code page; an unbroken double-byte run is cut at a character's end.
    if (m_pending.size() >= kFlushBytes && static_cast<unsigned char>(b) < 0x80)
        FlushBytes();
    else if (m_pending.size() >= kMaxPending)
        FlushWholeCharacters();
}

void RtfParser::AddChar(char16_t c)
{
    FlushBytes();
    if (!visible())
        return;
    if (TextBuilder* builder = out()) {
        builder->SetHidden(invisibleOnPaper());
        builder->AddChar(c);
    }
}

void RtfParser::ControlSymbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        AddByte(c);
        return;
    case '~':
        AddChar(u'\u00A0'); // the Check tells typesetting from a disguise
        return;
    case '_':
        AddChar(u'-');
        return;
    case '-':
        AddChar(u'\u00AD'); // optional hyphen, as the other formats give it
        return;
    case '*':
        m_stack.back().ignorable = true;
        return;
    case '\r':
    case '\n':
        FlushBytes();
        if (visible() && out())
            out()->ParagraphEnd();
        return;
    default:
        return; // \: and others carry no text
    }
}

void RtfParser::ControlWord(QByteArrayView word, bool hasParam, long long param)
{
    GroupState& state = m_stack.back();
    const bool first = state.firstWord;
    state.firstWord = false;
    if (m_skipUnits > 0 && word != "u") {
        --m_skipUnits;
        return;
    }
    FlushBytes();
    const int value = int(std::clamp<long long>(param, -2147483647LL, 2147483647LL));

    if (state.target == Target::FontTable) {
        if (word == "f")
            m_tableFont = value;
        else if (word == "fcharset" && CodePage::FromCharset(value) > 0)
            m_fontCodePages.insert(m_tableFont, CodePage::FromCharset(value));
        else if (word == "cpg" && CodePage::IsKnown(value))
            m_fontCodePages.insert(m_tableFont, value);
        return;
    }
    if (state.target == Target::ColorTable) {
        const int channel = std::clamp(value, 0, 255);
        const int shift = word == "red" ? 16 : word == "green" ? 8 : word == "blue" ? 0 : -1;
        if (shift >= 0)
            m_nextColor = (m_nextColor < 0 ? 0 : m_nextColor & ~(0xFF << shift)) | (channel << shift);
        return;
    }
    if (word == "fonttbl") {
        state.target = Target::FontTable;
    } else if (word == "colortbl") {
        state.target = Target::ColorTable;
        m_colors.clear();
        m_nextColor = RunLook::kAuto;
    } else if (isSkippedDestination(word) || (first && state.ignorable && word != "footnote")) {
        // An unknown \* destination is skipped whole.
        state.target = Target::Skip;
    } else if (word == "footnote") {
        if (state.target != Target::Skip)
            state.target = Target::Footnotes;
    } else if (word == "ftnalt") {
        if (state.target == Target::Footnotes)
            state.target = Target::Endnotes;
    } else if (word == "u") {
        const int unit = value < 0 ? value + 65536 : value;
        if (visible() && out()) {
            out()->SetHidden(invisibleOnPaper());
            out()->AddChar(char16_t(unit & 0xFFFF));
        }
        m_skipUnits = state.uc;
    } else if (word == "uc") {
        state.uc = std::clamp(value, 0, 16);
    } else if (word == "ansicpg") {
        if (value > 0)
            m_defaultCodePage = value;
    } else if (word == "mac") {
        m_defaultCodePage = 10000;
    } else if (word == "pc") {
        m_defaultCodePage = 437;
    } else if (word == "pca") {
        m_defaultCodePage = 850;
    } else if (word == "deff") {
        m_defaultFont = value;
    } else if (word == "f") {
        state.codePage = fontCodePage(value);
    } else if (word == "plain") {
        state.deleted = false;
        state.codePage = fontCodePage(m_defaultFont);
        state.hidden = false;
        state.color = 0;
        state.background = 0;
        state.size = 0;
    } else if (characterLook(word, hasParam, value)) {
        // Whether the text shows; read before the text it applies to.
    } else if (word == "deleted") {
        state.deleted = !hasParam || value != 0;
    } else if (word == "bin") {
        // Binary data: skip it, never past the end of the file.
        m_pos += std::clamp<long long>(param, 0, m_bytes.size() - m_pos);
    } else if (!visible() || !out()) {
        return;
    } else if (word == "par") {
        out()->ParagraphEnd();
    } else if (word == "line") {
        out()->SetHidden(invisibleOnPaper());
        out()->LineBreak();
    } else if (word == "tab") {
        out()->SetHidden(invisibleOnPaper());
        out()->Tab();
    } else if (word == "cell" || word == "nestcell") {
        out()->CellEnd();
    } else if (word == "row" || word == "nestrow") {
        out()->RowEnd();
    } else if (const char16_t symbol = symbolFor(word)) {
        out()->SetHidden(invisibleOnPaper());
        out()->AddChar(symbol);
    }
}

ParsedDocument RtfParser::Parse()
{
    const qsizetype size = m_bytes.size();
    const char* data = m_bytes.constData();
    while (m_pos < size) {
        const char c = data[m_pos++];
        if (c == '{') {
            FlushBytes();
            m_skipUnits = 0;
            if (int(m_stack.size()) >= RtfReader::kMaxDepth)
                return ParsedDocument::Failure(
                    ExtractError::Damaged, QStringLiteral(u"слишком сложная разметка RTF: глубокая вложенность групп"));
            GroupState inner = m_stack.back();
            inner.firstWord = true;
            inner.ignorable = false;
            m_stack.push_back(inner);
        } else if (c == '}') {
            FlushBytes();
            m_skipUnits = 0;
            if (m_stack.size() > 1) {
                // A note's last paragraph often lacks its \par; the note still ends one.
                const Target inner = m_stack.back().target;
                if ((inner == Target::Footnotes || inner == Target::Endnotes) &&
                    m_stack[m_stack.size() - 2].target != inner)
                    out()->CloseParagraph();
                m_stack.pop_back();
            }
        } else if (c == '\\') {
            if (m_pos >= size)
                break;
            const char next = data[m_pos];
            if (next == '\'') {
                // \'hh: one byte in the current code page.
                m_pos += 1;
                const QByteArray hex(data + m_pos, std::min<qsizetype>(2, size - m_pos));
                m_pos += hex.size();
                bool ok = false;
                const int byte = hex.toInt(&ok, 16);
                if (ok)
                    AddByte(char(byte));
            } else if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                const qsizetype start = m_pos;
                while (m_pos < size && m_pos - start < 32 &&
                       ((data[m_pos] >= 'a' && data[m_pos] <= 'z') || (data[m_pos] >= 'A' && data[m_pos] <= 'Z')))
                    ++m_pos;
                const QByteArrayView word(data + start, m_pos - start);
                bool negative = false;
                if (m_pos < size && data[m_pos] == '-') {
                    negative = true;
                    ++m_pos;
                }
                long long param = 0;
                int digits = 0;
                while (m_pos < size && data[m_pos] >= '0' && data[m_pos] <= '9') {
                    if (digits++ < 10)
                        param = param * 10 + (data[m_pos] - '0');
                    ++m_pos;
                }
                if (m_pos < size && data[m_pos] == ' ')
                    ++m_pos;
                ControlWord(word, digits > 0, negative ? -param : param);
            } else {
                ++m_pos;
                if (m_skipUnits > 0 && next != '{' && next != '}') {
                    --m_skipUnits;
                    continue;
                }
                ControlSymbol(next);
            }
        } else if (c == '\r' || c == '\n' || c == '\0') {
            continue;
        } else if (c == '\t') {
            AddChar(u'\t');
        } else {
            AddByte(c);
        }
        if (m_body.Overflowed() || m_footnotes.Overflowed() || m_endnotes.Overflowed())
            return ParsedDocument::Failure(ExtractError::TooLarge);
    }
    FlushBytes();
    ParsedDocument doc;
    for (TextBuilder* story : {&m_body, &m_footnotes, &m_endnotes}) {
        QList<HiddenSpan> hidden;
        const QString text = story->Take(&hidden);
        doc.AddStory(text, hidden);
    }
    return doc;
}

} // namespace

ParsedDocument RtfReader::Read(const QByteArray& bytes)
{
    if (!bytes.startsWith("{\\rtf"))
        return ParsedDocument::Failure(ExtractError::Damaged, QStringLiteral(u"или это не документ RTF"));
    RtfParser parser(bytes);
    return parser.Parse();
}
