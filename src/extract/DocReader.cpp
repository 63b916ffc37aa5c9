#include "extract/DocReader.h"

#include "extract/CodePage.h"
#include "extract/CompoundFile.h"
#include "extract/TextBuilder.h"
#include "extract/WordPropertyRuns.h"

#include <QtEndian>

#include <vector>

namespace {

struct Piece
{
    quint32 cpStart;
    quint32 cpEnd;
    quint32 offset; // byte offset in the main stream
    bool compressed;
};

struct Fib
{
    quint32 ccpText = 0;
    quint32 ccpFtn = 0;
    quint32 ccpHdd = 0;
    quint32 ccpMcr = 0;
    quint32 ccpAtn = 0;
    quint32 ccpEdn = 0;
    quint32 fcClx = 0;
    quint32 lcbClx = 0;
    quint32 fcBteChpx = 0;
    quint32 lcbBteChpx = 0;
    quint32 fcBtePapx = 0;
    quint32 lcbBtePapx = 0;
};

quint16 u16(const QByteArray& b, qsizetype at)
{
    return at + 2 <= b.size() ? qFromLittleEndian<quint16>(b.constData() + at) : 0;
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return at + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + at) : 0;
}

bool readFib(const QByteArray& wd, Fib& fib)
{
    const qsizetype csw = u16(wd, 32);
    const qsizetype lwAt = 34 + csw * 2 + 2;
    const qsizetype cslw = u16(wd, lwAt - 2);
    const qsizetype fcAt = lwAt + cslw * 4 + 2;
    const qsizetype pairs = u16(wd, fcAt - 2);
    if (cslw < 11 || pairs < 34 || fcAt + pairs * 8 > wd.size())
        return false;
    fib.ccpText = u32(wd, lwAt + 3 * 4);
    fib.ccpFtn = u32(wd, lwAt + 4 * 4);
    fib.ccpHdd = u32(wd, lwAt + 5 * 4);
    fib.ccpMcr = u32(wd, lwAt + 6 * 4);
    fib.ccpAtn = u32(wd, lwAt + 7 * 4);
    fib.ccpEdn = u32(wd, lwAt + 8 * 4);
    fib.fcBteChpx = u32(wd, fcAt + 12 * 8);
    fib.lcbBteChpx = u32(wd, fcAt + 12 * 8 + 4);
    fib.fcBtePapx = u32(wd, fcAt + 13 * 8);
    fib.lcbBtePapx = u32(wd, fcAt + 13 * 8 + 4);
    fib.fcClx = u32(wd, fcAt + 33 * 8);
    fib.lcbClx = u32(wd, fcAt + 33 * 8 + 4);
    return true;
}

// The piece table from the complex part of the table stream; false when it is damaged.
// In Word 6 files every piece is 8-bit and its descriptor holds a plain byte offset.
bool readPieces(const QByteArray& table, const Fib& fib, qsizetype streamSize, std::vector<Piece>& pieces,
                bool allEightBit = false)
{
    if (quint64(fib.fcClx) + fib.lcbClx > quint64(table.size()))
        return false;
    qsizetype at = fib.fcClx;
    const qsizetype end = qsizetype(fib.fcClx) + fib.lcbClx;
    // Property runs (0x01) come first; the piece table (0x02) follows.
    while (at < end && table.at(at) == 0x01) {
        at += 3 + qsizetype(u16(table, at + 1));
    }
    if (at >= end || table.at(at) != 0x02)
        return false;
    const qsizetype lcb = u32(table, at + 1);
    at += 5;
    if (lcb < 4 || at + lcb > end || (lcb - 4) % 12 != 0)
        return false;
    const qsizetype n = (lcb - 4) / 12;
    pieces.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        Piece piece;
        piece.cpStart = u32(table, at + 4 * i);
        piece.cpEnd = u32(table, at + 4 * (i + 1));
        const quint32 fc = u32(table, at + 4 * (n + 1) + 8 * i + 2);
        piece.compressed = allEightBit || (fc & 0x40000000u) != 0;
        piece.offset = allEightBit ? fc : piece.compressed ? (fc & ~0x40000000u) / 2 : fc;
        if (piece.cpEnd < piece.cpStart)
            return false;
        const quint64 bytes = quint64(piece.cpEnd - piece.cpStart) * (piece.compressed ? 1 : 2);
        if (quint64(piece.offset) + bytes > quint64(streamSize))
            return false;
        pieces.push_back(piece);
    }
    // Pieces may point at the same bytes; a table whose characters outnumber the stream's
    // bytes would only make reading slow, never add real text.
    return pieces.empty() || quint64(pieces.back().cpEnd - pieces.front().cpStart) <= quint64(streamSize);
}

// Characters 0x13/0x14/0x15 open a field, start its result, and close it.
class StoryWriter
{
public:
    StoryWriter(const WordPropertyRuns& runs, TextBuilder& out) : m_runs(runs), m_out(out) {}

    void Write(char16_t c, quint32 fc)
    {
        if (c == 0x13) {
            if (m_fields.size() < 64)
                m_fields.push_back(true);
            return;
        }
        if (c == 0x14) {
            if (!m_fields.empty())
                m_fields.back() = false;
            return;
        }
        if (c == 0x15) {
            if (!m_fields.empty())
                m_fields.pop_back();
            return;
        }
        for (const bool inCode : m_fields)
            if (inCode)
                return;
        if (m_runs.IsDeleted(fc))
            return;
        switch (c) {
        case 0x0D:
            m_out.ParagraphEnd();
            break;
        case 0x0B: // manual line break
            m_out.LineBreak();
            break;
        case 0x0C: // page or section break
            m_out.ParagraphEnd();
            break;
        case 0x07:
            if (m_runs.EndsRow(fc))
                m_out.RowEnd();
            else
                m_out.CellEnd();
            break;
        case 0x1E: // non-breaking hyphen
            m_out.AddChar(u'-');
            break;
        case 0x1F: // optional hyphen, as the other formats give it
            m_out.AddChar(u'\u00AD');
            break;
        case 0x09:
            m_out.Tab();
            break;
        default:
            // Object anchors, note references and other marks are below 0x20 and dropped.
            m_out.AddChar(c);
            break;
        }
    }

private:
    const WordPropertyRuns& m_runs;
    TextBuilder& m_out;
    std::vector<bool> m_fields;
};

// The text of the characters cpStart..cpEnd. Word 97 pieces are 16-bit or 8-bit in
// Windows-1252; with codePage set (Word 6) every piece is 8-bit in that code page,
// decoded a piece at a time so that double-byte characters keep together.
QString writeStory(const QByteArray& wd, const std::vector<Piece>& pieces, const WordPropertyRuns& runs,
                   quint32 cpStart, quint32 cpEnd, int codePage, bool& overflow)
{
    TextBuilder out;
    StoryWriter writer(runs, out);
    for (const Piece& piece : pieces) {
        const quint32 from = std::max(cpStart, piece.cpStart);
        const quint32 to = std::min(cpEnd, piece.cpEnd);
        if (codePage > 0 && from < to) {
            const quint32 fc = piece.offset + (from - piece.cpStart);
            for (const QChar c : CodePage::Decode(wd.mid(fc, to - from), codePage))
                writer.Write(c.unicode(), fc);
        }
        for (quint32 cp = from; codePage == 0 && cp < to; ++cp) {
            const quint32 index = cp - piece.cpStart;
            if (piece.compressed) {
                const quint32 fc = piece.offset + index;
                writer.Write(CodePage::From1252(static_cast<unsigned char>(wd.at(fc))), fc);
            } else {
                const quint32 fc = piece.offset + 2 * index;
                writer.Write(qFromLittleEndian<quint16>(wd.constData() + fc), fc);
            }
        }
        if (out.Overflowed()) {
            overflow = true;
            return {};
        }
    }
    return out.Take();
}

// The main text, footnotes and endnotes. Stories follow one another in character
// positions: main text, footnotes, headers, macros, comments, endnotes.
ParsedDocument readStories(const QByteArray& wd, const std::vector<Piece>& pieces, const WordPropertyRuns& runs,
                           const Fib& fib, int codePage)
{
    const quint64 ftnStart = fib.ccpText;
    const quint64 ednStart = ftnStart + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn;
    const quint64 limit = 0xFFFFFFFFu;
    struct Range
    {
        quint64 start;
        quint64 end;
    };
    ParsedDocument doc;
    bool overflow = false;
    for (const Range range :
         {Range{0, fib.ccpText}, Range{ftnStart, ftnStart + fib.ccpFtn}, Range{ednStart, ednStart + fib.ccpEdn}}) {
        if (range.end > limit)
            return ParsedDocument::Failure(ExtractError::Damaged,
                                           QStringLiteral(u"нарушена внутренняя структура документа Word"));
        QString story = writeStory(wd, pieces, runs, quint32(range.start), quint32(range.end), codePage, overflow);
        if (overflow)
            return ParsedDocument::Failure(ExtractError::TooLarge);
        // A notes story closes with one paragraph mark of its own after the last note.
        if (range.start > 0 && story.endsWith(QStringLiteral("\r\n\r\n")))
            story.chop(2);
        doc.stories.append(story);
    }
    return doc;
}

// Word 6.0 and Word 95 (wIdent 0xA5DC): a fixed file information block whose fc/lcb
// pairs match Word 97's first ones but locate structures in the WordDocument stream
// itself, and 8-bit text in a code page the file does not name.
namespace Word6 {
constexpr qsizetype kFibSize = 0x192;
constexpr qsizetype kPairs = 0x58; // fcStshfOrig, first of the fc/lcb pairs
constexpr int kFontTable = 15;     // index of fcSttbfffn among the pairs
constexpr int kClx = 33;           // index of fcClx
constexpr quint16 kComplex = 0x0004;
constexpr quint16 kEncrypted = 0x0100;
constexpr quint16 kMacCharset = 256;

quint32 pairFc(const QByteArray& wd, int index)
{
    return u32(wd, kPairs + 8 * index);
}

quint32 pairLcb(const QByteArray& wd, int index)
{
    return u32(wd, kPairs + 8 * index + 4);
}

// The code page of a language id, 0 for languages written in Windows-1252.
int codePageOfLanguage(quint16 lid)
{
    switch (lid & 0x3FF) {
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
    case 0x02: // Bulgarian
    case 0x2F: // Macedonian
        return 1251;
    case 0x1A: // Serbian and Croatian: Cyrillic for Serbian, Latin otherwise
        return (lid >> 10) == 3 ? 1251 : 1250;
    case 0x05: // Czech
    case 0x0E: // Hungarian
    case 0x15: // Polish
    case 0x18: // Romanian
    case 0x1B: // Slovak
    case 0x24: // Slovenian
    case 0x1C: // Albanian
        return 1250;
    case 0x08: // Greek
        return 1253;
    case 0x1F: // Turkish
        return 1254;
    case 0x0D: // Hebrew
        return 1255;
    case 0x01: // Arabic
        return 1256;
    case 0x25: // Estonian
    case 0x26: // Latvian
    case 0x27: // Lithuanian
        return 1257;
    default:
        return 0;
    }
}

// The first font of the font table whose character set is not Western names the code
// page: Word installed "Cyr", "CE"... variants of the fonts on such systems. 0 if none.
int codePageOfFonts(const QByteArray& wd)
{
    const quint32 fc = pairFc(wd, kFontTable);
    const quint32 lcb = pairLcb(wd, kFontTable);
    if (lcb < 2 || quint64(fc) + lcb > quint64(wd.size()))
        return 0;
    const qsizetype end = qsizetype(fc) + std::min<qsizetype>(lcb, u16(wd, fc));
    // Each font: its size less one, flags, weight, character set, ...
    for (qsizetype at = qsizetype(fc) + 2; at + 5 <= end; at += qsizetype(static_cast<unsigned char>(wd.at(at))) + 1) {
        const int charset = static_cast<unsigned char>(wd.at(at + 4));
        const int codePage = charset == 2 || charset == 77 || charset == 255 ? 0 : CodePage::FromCharset(charset);
        if (codePage > 0 && codePage != 1252)
            return codePage;
    }
    return 0;
}

int codePage(const QByteArray& wd)
{
    if (u16(wd, 0x14) == kMacCharset)
        return 10000;
    if (const int fonts = codePageOfFonts(wd))
        return fonts;
    if (const int language = codePageOfLanguage(u16(wd, 0x06)))
        return language;
    return 1252;
}

// The pieces of the text: the piece table of a fast-saved file, else one piece from
// fcMin. False when they point outside the stream.
bool readPieces(const QByteArray& wd, std::vector<Piece>& pieces)
{
    if (!(u16(wd, 0x0A) & kComplex)) {
        const quint32 fcMin = u32(wd, 0x18);
        const quint32 fcMac = u32(wd, 0x1C);
        if (fcMac < fcMin || fcMac > quint64(wd.size()))
            return false;
        pieces.push_back(Piece{0, fcMac - fcMin, fcMin, true});
        return true;
    }
    Fib fib;
    fib.fcClx = pairFc(wd, kClx);
    fib.lcbClx = pairLcb(wd, kClx);
    return ::readPieces(wd, fib, wd.size(), pieces, true);
}

ParsedDocument read(const QByteArray& wd)
{
    if (wd.size() < kFibSize)
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"испорчены служебные данные в начале документа Word"));
    if (u16(wd, 0x0A) & kEncrypted)
        return ParsedDocument::Failure(ExtractError::PasswordProtected);
    std::vector<Piece> pieces;
    if (!readPieces(wd, pieces))
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"нарушена внутренняя структура документа Word"));
    Fib fib;
    fib.ccpText = u32(wd, 0x34);
    fib.ccpFtn = u32(wd, 0x38);
    fib.ccpHdd = u32(wd, 0x3C);
    fib.ccpMcr = u32(wd, 0x40);
    fib.ccpAtn = u32(wd, 0x44);
    fib.ccpEdn = u32(wd, 0x48);
    // Word 6 formatting uses other property codes: deleted text and row ends are not
    // told apart, and table cells all end with a tab.
    return readStories(wd, pieces, WordPropertyRuns(), fib, codePage(wd));
}

} // namespace Word6

} // namespace

ParsedDocument DocReader::Read(const QByteArray& bytes)
{
    CompoundFile file;
    QString why;
    if (!file.Open(bytes, why))
        return ParsedDocument::Failure(ExtractError::Damaged, why);
    if (!file.Contains(QStringLiteral("WordDocument"))) {
        if (file.Contains(QStringLiteral("EncryptedPackage")))
            return ParsedDocument::Failure(ExtractError::PasswordProtected);
        return ParsedDocument::Failure(ExtractError::UnknownFormat,
                                       QStringLiteral(u"это не документ Word, а, например, таблица или презентация"));
    }
    QByteArray wd;
    if (file.ReadStream(QStringLiteral("WordDocument"), wd) != CompoundFile::Status::Ok || wd.size() < 68)
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"не читается основной текст документа Word"));
    const quint16 ident = u16(wd, 0);
    if (ident == 0xA5DC)
        return Word6::read(wd);
    if (ident != 0xA5EC)
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"испорчены служебные данные в начале документа Word"));
    const quint16 flags = u16(wd, 0x0A);
    if (flags & 0x0100) // encrypted or obfuscated
        return ParsedDocument::Failure(ExtractError::PasswordProtected);

    QByteArray table;
    const QString tableName = (flags & 0x0200) ? QStringLiteral("1Table") : QStringLiteral("0Table");
    if (file.ReadStream(tableName, table) != CompoundFile::Status::Ok)
        return ParsedDocument::Failure(ExtractError::Damaged, tableName);
    Fib fib;
    std::vector<Piece> pieces;
    if (!readFib(wd, fib) || !readPieces(table, fib, wd.size(), pieces))
        return ParsedDocument::Failure(ExtractError::Damaged,
                                       QStringLiteral(u"нарушена внутренняя структура документа Word"));

    WordPropertyRuns runs;
    runs.LoadCharacterRuns(wd, table, fib.fcBteChpx, fib.lcbBteChpx);
    runs.LoadParagraphRuns(wd, table, fib.fcBtePapx, fib.lcbBtePapx);
    return readStories(wd, pieces, runs, fib, 0);
}
