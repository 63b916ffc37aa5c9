#include "phrases/StringPool.h"

#include <algorithm>
#include <cstring>
#include <string>

qsizetype StringPool::slotOf(QStringView text, quint64 h) const
{
    const size_t mask = m_slots.size() - 1;
    const quint32 high = quint32(h >> 32);
    size_t slot = size_t(h) & mask;
    while (true) {
        const Slot& probe = m_slots[slot];
        if (probe.number < 0)
            return qsizetype(slot);
        if (probe.hash == high) {
            // With 32 bits of hash alike the strings are almost always equal: compared at once.
            const QStringView held = at(probe.number);
            if (held.size() == text.size() &&
                (text.isEmpty() ||
                 std::memcmp(held.utf16(), text.utf16(), size_t(text.size()) * sizeof(char16_t)) == 0))
                return qsizetype(slot);
        }
        slot = (slot + 1) & mask;
    }
}

qint32 StringPool::find(QStringView text) const
{
    if (m_slots.empty())
        return -1;
    return m_slots[size_t(slotOf(text, hash(text)))].number;
}

qint32 StringPool::intern(QStringView text)
{
    // Linear probing stays short up to three quarters full, as a miss reads only its slot.
    if (4 * (size_t(size()) + 1) > 3 * m_slots.size())
        grow();
    const quint64 h = hash(text);
    const qsizetype slot = slotOf(text, h);
    if (m_slots[size_t(slot)].number >= 0)
        return m_slots[size_t(slot)].number;
    const qint32 number = size();
    const char16_t* chars = text.utf16();
    if (chars >= m_chars.data() && chars < m_chars.data() + m_chars.size()) {
        // A part of a string already held (a word's trimmed form): copied first, as
        // the buffer may move while it grows.
        const std::u16string copy(chars, size_t(text.size()));
        m_chars.insert(m_chars.end(), copy.begin(), copy.end());
    } else {
        m_chars.insert(m_chars.end(), chars, chars + text.size());
    }
    m_start.push_back(quint32(m_chars.size()));
    m_slots[size_t(slot)] = {number, quint32(h >> 32)};
    return number;
}

void StringPool::grow()
{
    std::vector<Slot> old(std::max<size_t>(64, m_slots.size() * 2));
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (qint32 number = 0; number < size(); ++number) {
        const quint64 h = hash(at(number));
        size_t slot = size_t(h) & mask;
        while (m_slots[slot].number >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = {number, quint32(h >> 32)};
    }
}
