#include "phrases/StringPool.h"

#include <algorithm>

qsizetype StringPool::slotOf(QStringView text, quint64 h) const
{
    const size_t mask = m_slots.size() - 1;
    size_t slot = size_t(h) & mask;
    while (true) {
        const qint32 number = m_slots[slot];
        if (number < 0)
            return qsizetype(slot);
        if (m_hashes[size_t(number)] == quint32(h >> 32) && at(number) == text)
            return qsizetype(slot);
        slot = (slot + 1) & mask;
    }
}

qint32 StringPool::find(QStringView text) const
{
    if (m_slots.empty())
        return -1;
    return m_slots[size_t(slotOf(text, hash(text)))];
}

qint32 StringPool::intern(QStringView text)
{
    if (2 * (m_hashes.size() + 1) > m_slots.size())
        grow();
    const quint64 h = hash(text);
    const qsizetype slot = slotOf(text, h);
    if (m_slots[size_t(slot)] >= 0)
        return m_slots[size_t(slot)];
    const qint32 number = size();
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + text.size());
    m_start.push_back(quint32(m_chars.size()));
    m_hashes.push_back(quint32(h >> 32));
    m_slots[size_t(slot)] = number;
    return number;
}

void StringPool::grow()
{
    m_slots.assign(std::max<size_t>(64, m_slots.size() * 2), -1);
    const size_t mask = m_slots.size() - 1;
    for (qint32 number = 0; number < size(); ++number) {
        size_t slot = size_t(hash(at(number))) & mask;
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = number;
    }
}
