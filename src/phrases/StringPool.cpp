#include "phrases/StringPool.h"

#include <algorithm>
#include <cstring>
#include <string>

qint32 StringPool::add(QStringView text, quint64 h)
{
    // Linear probing stays short up to three quarters full, as a miss reads only its slot.
    if (4 * (size_t(size()) + 1) > 3 * m_slots.size())
        grow();
    const size_t mask = m_slots.size() - 1;
    size_t slot = size_t(h) & mask;
    while (m_slots[slot].number >= 0)
        slot = (slot + 1) & mask;
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
    m_slots[slot] = {number, quint32(h >> 32)};
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
