#include "extract/WordPropertyRuns.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr qsizetype kPage = 512;
constexpr quint16 kSprmCFRMarkDel = 0x0800;
constexpr quint16 kSprmPFTtp = 0x2417;
constexpr quint16 kSprmPFInnerTtp = 0x244C;
constexpr quint16 kSprmCFVanish = 0x083C;
constexpr quint16 kSprmCFSpecVanish = 0x0818;
constexpr quint16 kSprmCHps = 0x4A43; // size in half-points
constexpr quint16 kSprmCIco = 0x2A42; // colour as an index; 8 is white
constexpr quint16 kSprmCCv = 0x6870;  // colour as 0x00BBGGRR, 0xFF000000 for auto
constexpr quint16 kSprmCHighlight = 0x2A0C;
constexpr quint16 kSprmCShd80 = 0x4866;
constexpr quint16 kSprmCShd = 0xCA71;
constexpr quint16 kSprmPShd80 = 0x442D;
constexpr quint16 kSprmPShd = 0xC64D;
constexpr int kWhiteIco = 8;
constexpr int kTinyHalfPoints = 4;
// Pages read from one bin table; more would mean a damaged table.
constexpr quint32 kMaxPages = 1 << 16;

quint32 readU32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

// Size of a property modifier's operand, or -1 when it runs past the end.
qsizetype operandSize(quint16 sprm, const unsigned char* p, qsizetype left)
{
    switch (sprm >> 13) {
    case 0:
    case 1:
        return 1;
    case 2:
    case 4:
    case 5:
        return 2;
    case 3:
        return 4;
    case 7:
        return 3;
    default:
        if (sprm == 0xD608 || sprm == 0xD606) { // table definitions: 2-byte length
            if (left < 2)
                return -1;
            return qsizetype(qFromLittleEndian<quint16>(p)) + 1;
        }
        if (left < 1)
            return -1;
        return qsizetype(p[0]) + 1;
    }
}

// The operand of sprm in a property list and its size, or nullptr when absent. The
// last one counts when a list repeats a property.
const unsigned char* findOperand(const unsigned char* p, qsizetype size, quint16 wanted, qsizetype& operand)
{
    const unsigned char* found = nullptr;
    qsizetype i = 0;
    while (i + 2 <= size) {
        const quint16 sprm = qFromLittleEndian<quint16>(p + i);
        i += 2;
        const qsizetype n = operandSize(sprm, p + i, size - i);
        if (n < 0 || i + n > size)
            return found;
        if (sprm == wanted && n >= 1) {
            found = p + i;
            operand = n;
        }
        i += n;
    }
    return found;
}

// Value of the first operand byte of sprm in a property list, or -1 when absent.
int findSprm(const unsigned char* p, qsizetype size, quint16 wanted)
{
    qsizetype n = 0;
    const unsigned char* operand = findOperand(p, size, wanted, n);
    return operand ? operand[0] : -1;
}

// A toggle is on when set (1) or set opposite to a style that leaves it off (0x81).
bool toggledOn(int value)
{
    return value == 1 || value == 0x81;
}

bool isWhite(const unsigned char* grpprl, qsizetype size)
{
    qsizetype n = 0;
    if (const unsigned char* cv = findOperand(grpprl, size, kSprmCCv, n); cv && n >= 4)
        return (qFromLittleEndian<quint32>(cv) & 0xFFFFFFu) == 0xFFFFFFu && cv[3] == 0;
    return findSprm(grpprl, size, kSprmCIco) == kWhiteIco;
}

// Calls visit(start, end, grpprl, size) for every run of every page of a bin table.
template <typename Visit>
void forEachRun(const QByteArray& doc, const QByteArray& table, quint32 fc, quint32 lcb, bool paragraphs, Visit visit)
{
    if (lcb < 12 || quint64(fc) + lcb > quint64(table.size()))
        return;
    const quint32 pages = (lcb - 4) / 8;
    for (quint32 k = 0; k < std::min(pages, kMaxPages); ++k) {
        const quint32 pn = readU32(table, qsizetype(fc) + 4 * (qsizetype(pages) + 1) + 4 * k) & 0x3FFFFF;
        const qsizetype base = qsizetype(pn) * kPage;
        if (base + kPage > doc.size())
            continue;
        const auto* page = reinterpret_cast<const unsigned char*>(doc.constData() + base);
        const int count = page[kPage - 1];
        const qsizetype entry = paragraphs ? 13 : 1;
        if (4 * (count + 1) + entry * count > kPage - 1)
            continue;
        for (int r = 0; r < count; ++r) {
            const quint32 start = qFromLittleEndian<quint32>(page + 4 * r);
            const quint32 end = qFromLittleEndian<quint32>(page + 4 * (r + 1));
            const qsizetype offset = qsizetype(page[4 * (count + 1) + entry * r]) * 2;
            if (offset == 0 || offset >= kPage - 1)
                continue;
            qsizetype size = page[offset];
            qsizetype at = offset + 1;
            if (paragraphs) {
                if (size == 0) {
                    size = qsizetype(page[offset + 1]) * 2;
                    at = offset + 2;
                } else {
                    size = size * 2 - 1;
                }
                at += 2; // the style index comes first
                size -= 2;
            }
            if (size <= 0 || at + size > kPage)
                continue;
            visit(start, end, page + at, size);
        }
    }
}

} // namespace

void WordPropertyRuns::LoadCharacterRuns(const QByteArray& wordDocument, const QByteArray& table, quint32 fc,
                                         quint32 lcb)
{
    forEachRun(wordDocument, table, fc, lcb, false,
               [this](quint32 start, quint32 end, const unsigned char* grpprl, qsizetype size) {
                   const int mark = findSprm(grpprl, size, kSprmCFRMarkDel);
                   if (mark > 0 && mark != 0x80)
                       m_deleted.push_back({start, end});
                   qsizetype n = 0;
                   const unsigned char* hps = findOperand(grpprl, size, kSprmCHps, n);
                   const bool tiny = hps && n >= 2 && qFromLittleEndian<quint16>(hps) > 0 &&
                                     qFromLittleEndian<quint16>(hps) <= kTinyHalfPoints;
                   if (tiny || toggledOn(findSprm(grpprl, size, kSprmCFVanish)) ||
                       toggledOn(findSprm(grpprl, size, kSprmCFSpecVanish)))
                       m_hidden.push_back({start, end});
                   else if (isWhite(grpprl, size) && findSprm(grpprl, size, kSprmCHighlight) <= 0 &&
                            findSprm(grpprl, size, kSprmCShd80) < 0 && findSprm(grpprl, size, kSprmCShd) < 0)
                       m_white.push_back({start, end});
               });
    const auto byStart = [](const Run& a, const Run& b) { return a.start < b.start; };
    std::sort(m_deleted.begin(), m_deleted.end(), byStart);
    std::sort(m_hidden.begin(), m_hidden.end(), byStart);
    std::sort(m_white.begin(), m_white.end(), byStart);
}

void WordPropertyRuns::LoadParagraphRuns(const QByteArray& wordDocument, const QByteArray& table, quint32 fc,
                                         quint32 lcb)
{
    forEachRun(wordDocument, table, fc, lcb, true,
               [this](quint32 start, quint32 end, const unsigned char* grpprl, qsizetype size) {
                   if (findSprm(grpprl, size, kSprmPFTtp) > 0 || findSprm(grpprl, size, kSprmPFInnerTtp) > 0)
                       m_rowEnds.push_back({start, end});
                   if (findSprm(grpprl, size, kSprmPShd80) >= 0 || findSprm(grpprl, size, kSprmPShd) >= 0)
                       m_shaded.push_back({start, end});
               });
    const auto byStart = [](const Run& a, const Run& b) { return a.start < b.start; };
    std::sort(m_rowEnds.begin(), m_rowEnds.end(), byStart);
    std::sort(m_shaded.begin(), m_shaded.end(), byStart);
}

bool WordPropertyRuns::contains(const std::vector<Run>& runs, quint32 fc)
{
    auto it = std::upper_bound(runs.begin(), runs.end(), fc, [](quint32 v, const Run& r) { return v < r.start; });
    if (it == runs.begin())
        return false;
    --it;
    return fc >= it->start && fc < it->end;
}

bool WordPropertyRuns::IsDeleted(quint32 fc) const
{
    return !m_deleted.empty() && contains(m_deleted, fc);
}

bool WordPropertyRuns::EndsRow(quint32 fc) const
{
    return !m_rowEnds.empty() && contains(m_rowEnds, fc);
}

bool WordPropertyRuns::hiddenAt(quint32 fc) const
{
    if (!m_hidden.empty() && contains(m_hidden, fc))
        return true;
    return !m_white.empty() && contains(m_white, fc) && !(!m_shaded.empty() && contains(m_shaded, fc));
}
