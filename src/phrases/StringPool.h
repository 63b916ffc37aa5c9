#pragma once

#include <QStringView>
#include <QtGlobal>
#include <cstdint>
#include <cstring>
#include <vector>

// Distinct strings numbered 0, 1, 2 ... in order of first interning, their characters
// in one buffer: no allocation per string, and a number is all a caller keeps.
class StringPool
{
public:
    // The string's number, given the next one when it is new.
    qint32 intern(QStringView text);
    // The string's number, or -1 when it was never interned.
    qint32 find(QStringView text) const;
    QStringView at(qint32 number) const
    {
        const size_t n = size_t(number);
        return QStringView(m_chars.data() + m_start[n], qsizetype(m_start[n + 1]) - qsizetype(m_start[n]));
    }
    qint32 size() const { return qint32(m_start.size() - 1); }

    // Strings are short words: four code units are mixed in at a time, then the high
    // bits, which the slot's low ones would never see, are folded down.
    static quint64 hash(QStringView text)
    {
        const uint64_t m = 0x9E3779B97F4A7C15ull;
        const char16_t* p = text.utf16();
        size_t n = size_t(text.size());
        uint64_t h = 0x243F6A8885A308D3ull ^ (uint64_t(n) * m);
        for (; n >= 4; n -= 4, p += 4) {
            uint64_t four;
            std::memcpy(&four, p, sizeof four);
            h = (h ^ four) * m;
            h ^= h >> 29;
        }
        uint64_t tail = 0;
        for (size_t i = 0; i < n; ++i)
            tail |= uint64_t(p[i]) << (16 * i);
        h = (h ^ tail) * m;
        h ^= h >> 32;
        h *= 0xD6E8FEB86659FD93ull;
        h ^= h >> 32;
        return h;
    }

private:
    qsizetype slotOf(QStringView text, quint64 h) const;
    void grow();

    std::vector<char16_t> m_chars;
    // String i is m_chars[m_start[i] .. m_start[i + 1]): 32 bits hold far more than the
    // texts' bound, and at millions of strings every byte per string counts.
    std::vector<quint32> m_start{0};
    // Open addressing, never more than three quarters full. A slot keeps the high half of its
    // string's hash beside the number, so a probe that misses reads nothing else.
    struct Slot
    {
        qint32 number = -1; // -1: empty
        quint32 hash = 0;
    };
    std::vector<Slot> m_slots;
};
