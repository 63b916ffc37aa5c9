#include "extract/CompoundFile.h"

#include <QtEndian>

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kMaxRegular = 0xFFFFFFFA;
constexpr int kMaxEntries = 1 << 16;

} // namespace

quint32 CompoundFile::u32(qsizetype offset) const
{
    if (offset < 0 || offset + 4 > m_bytes->size())
        return kFree;
    return qFromLittleEndian<quint32>(m_bytes->constData() + offset);
}

bool CompoundFile::Open(const QByteArray& bytes, QString& why)
{
    m_bytes = &bytes;
    if (bytes.size() < 512 || !bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        why = QStringLiteral(u"или это не документ Word формата .doc");
        return false;
    }
    const quint16 shift = qFromLittleEndian<quint16>(bytes.constData() + 30);
    if (shift != 9 && shift != 12) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    m_sectorShift = shift;
    m_sectorSize = qsizetype(1) << shift;
    // Sector n starts at (n + 1) * size; a partial last sector still counts.
    m_sectorCount = quint32((bytes.size() + m_sectorSize - 1) / m_sectorSize - 1);
    m_miniCutoff = u32(56);
    return LoadFat(why) && LoadDirectory(why);
}

bool CompoundFile::LoadFat(QString& why)
{
    const quint32 fatSectors = u32(44);
    if (fatSectors > m_sectorCount) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    std::vector<quint32> fatList;
    for (int i = 0; i < 109 && fatList.size() < fatSectors; ++i)
        fatList.push_back(u32(76 + 4 * i));
    // Further FAT sector numbers sit in the DIFAT chain; a loop or stray sector ends it.
    quint32 difat = u32(68);
    const qsizetype perSector = m_sectorSize / 4 - 1;
    quint32 steps = 0;
    while (fatList.size() < fatSectors && difat <= kMaxRegular) {
        if (difat >= m_sectorCount || ++steps > m_sectorCount) {
            why = QStringLiteral(u"нарушена внутренняя структура документа Word");
            return false;
        }
        const qsizetype base = (qsizetype(difat) + 1) * m_sectorSize;
        for (qsizetype i = 0; i < perSector && fatList.size() < fatSectors; ++i)
            fatList.push_back(u32(base + 4 * i));
        difat = u32(base + 4 * perSector);
    }
    if (fatList.size() < fatSectors) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    m_fat.reserve(fatList.size() * size_t(m_sectorSize / 4));
    for (const quint32 sector : fatList) {
        if (sector >= m_sectorCount) {
            why = QStringLiteral(u"нарушена внутренняя структура документа Word");
            return false;
        }
        const qsizetype base = (qsizetype(sector) + 1) * m_sectorSize;
        for (qsizetype i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(u32(base + 4 * i));
    }
    return true;
}

bool CompoundFile::ReadChain(quint32 start, quint64 size, bool mini, QByteArray& out) const
{
    out.clear();
    const std::vector<quint32>& fat = mini ? m_miniFat : m_fat;
    const qsizetype unit = mini ? 64 : m_sectorSize;
    const QByteArray& source = mini ? m_miniStream : *m_bytes;
    // A chain can never hold more sectors than the table has entries, so the size a
    // stream declares is checked against that before anything is allocated.
    if (size > quint64(fat.size()) * quint64(unit) || size > quint64(source.size()))
        return false;
    out.reserve(qsizetype(size));
    quint32 sector = start;
    std::vector<bool> visited(fat.size(), false);
    while (quint64(out.size()) < size) {
        // A sector seen twice means a loop: the chain is damaged.
        if (sector >= fat.size() || visited[sector])
            return false;
        visited[sector] = true;
        const qsizetype offset = mini ? qsizetype(sector) * 64 : (qsizetype(sector) + 1) * m_sectorSize;
        if (offset >= source.size())
            return false;
        const qsizetype take =
            std::min<qsizetype>({unit, qsizetype(size - quint64(out.size())), source.size() - offset});
        out.append(source.constData() + offset, take);
        if (take < unit && quint64(out.size()) < size)
            return false;
        sector = fat[sector];
    }
    return true;
}

bool CompoundFile::LoadDirectory(QString& why)
{
    QByteArray dir;
    // The directory declares no size: read its chain up to its end, bounded by the FAT.
    quint32 sector = u32(48);
    std::vector<bool> visited(m_fat.size(), false);
    while (sector != kEndOfChain) {
        if (sector >= m_fat.size() || sector >= m_sectorCount || visited[sector] || dir.size() / 128 > kMaxEntries) {
            why = QStringLiteral(u"нарушена внутренняя структура документа Word");
            return false;
        }
        visited[sector] = true;
        dir.append(m_bytes->mid((qsizetype(sector) + 1) * m_sectorSize, m_sectorSize));
        sector = m_fat[sector];
    }
    for (qsizetype off = 0; off + 128 <= dir.size(); off += 128) {
        const char* e = dir.constData() + off;
        Entry entry;
        const quint16 nameBytes = std::min<quint16>(qFromLittleEndian<quint16>(e + 64), 64);
        entry.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(e), std::max(0, nameBytes / 2 - 1));
        entry.type = static_cast<unsigned char>(e[66]);
        entry.start = qFromLittleEndian<quint32>(e + 116);
        entry.size = qFromLittleEndian<quint64>(e + 120);
        if (m_sectorShift == 9)
            entry.size &= 0xFFFFFFFFu; // version 3 files leave the high half undefined
        m_entries.push_back(entry);
    }
    if (m_entries.empty() || m_entries.front().type != 5) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    // The mini stream lives in the root entry's chain; its table in the mini FAT.
    QByteArray miniFatBytes;
    const quint32 miniFatStart = u32(60);
    const quint64 miniFatSize = quint64(u32(64)) * quint64(m_sectorSize);
    if (miniFatStart <= kMaxRegular && !ReadChain(miniFatStart, miniFatSize, false, miniFatBytes)) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    for (qsizetype i = 0; i + 4 <= miniFatBytes.size(); i += 4)
        m_miniFat.push_back(qFromLittleEndian<quint32>(miniFatBytes.constData() + i));
    const Entry& root = m_entries.front();
    if (root.start <= kMaxRegular && !ReadChain(root.start, root.size, false, m_miniStream)) {
        why = QStringLiteral(u"нарушена внутренняя структура документа Word");
        return false;
    }
    return true;
}

const CompoundFile::Entry* CompoundFile::find(const QString& name) const
{
    for (const Entry& entry : m_entries)
        if (entry.type == 2 && entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

bool CompoundFile::Contains(const QString& name) const
{
    return find(name) != nullptr;
}

CompoundFile::Status CompoundFile::ReadStream(const QString& name, QByteArray& out) const
{
    out.clear();
    const Entry* entry = find(name);
    if (!entry)
        return Status::Missing;
    if (entry->size > quint64(m_bytes->size()))
        return Status::Damaged; // declares more than the whole file holds
    const bool mini = entry->size < m_miniCutoff;
    return ReadChain(entry->start, entry->size, mini, out) ? Status::Ok : Status::Damaged;
}
