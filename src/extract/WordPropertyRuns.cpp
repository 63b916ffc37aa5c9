#include "extract/WordPropertyRuns.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr qsizetype kPage = 512;
constexpr quint16 kSprmCFRMarkDel = 0x0800;
constexpr quint16 kSprmPFTtp = 0x2417;
constexpr quint16 kSprmPFInnerTtp = 0x244C;
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

// Value of the first operand byte of sprm in a property list, or -1 when absent.
int findSprm(const unsigned char* p, qsizetype size, quint16 wanted)
{
    qsizetype i = 0;
    while (i + 2 <= size) {
        const quint16 sprm = qFromLittleEndian<quint16>(p + i);
        i += 2;
        const qsizetype n = operandSize(sprm, p + i, size - i);
        if (n < 0 || i + n > size)
            return -1;
        if (sprm == wanted && n >= 1)
            return p[i];
        i += n;
    }
    return -1;
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
               });
    std::sort(m_deleted.begin(), m_deleted.end(), [](const Run& a, const Run& b) { return a.start < b.start; });
}

void WordPropertyRuns::LoadParagraphRuns(const QByteArray& wordDocument, const QByteArray& table, quint32 fc,
                                         quint32 lcb)
{
    forEachRun(wordDocument, table, fc, lcb, true,
               [this](quint32 start, quint32 end, const unsigned char* grpprl, qsizetype size) {
                   if (findSprm(grpprl, size, kSprmPFTtp) > 0 || findSprm(grpprl, size, kSprmPFInnerTtp) > 0)
                       m_rowEnds.push_back({start, end});
               });
    std::sort(m_rowEnds.begin(), m_rowEnds.end(), [](const Run& a, const Run& b) { return a.start < b.start; });
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
