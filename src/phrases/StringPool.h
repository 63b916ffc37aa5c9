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
    // The string's number, given the next one when it is new. Inline, as a text's every
    // word passes here and nearly all of them are held already.
    qint32 intern(QStringView text)
    {
        const quint64 h = hash(text);
        const qint32 held = lookup(text, h);
        return held >= 0 ? held : add(text, h);
    }
    // The string's number, or -1 when it was never interned.
    qint32 find(QStringView text) const { return lookup(text, hash(text)); }
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
    // Open addressing, never more than three quarters full. A slot keeps the high half of its
    // string's hash beside the number, so a probe that misses reads nothing else.
    struct Slot
    {
        qint32 number = -1; // -1: empty
        quint32 hash = 0;
    };

    qint32 lookup(QStringView text, quint64 h) const
    {
        if (m_slots.empty())
            return -1;
        const size_t mask = m_slots.size() - 1;
        const quint32 high = quint32(h >> 32);
        for (size_t slot = size_t(h) & mask;; slot = (slot + 1) & mask) {
            const Slot& probe = m_slots[slot];
            if (probe.number < 0)
                return -1;
            if (probe.hash == high && equal(at(probe.number), text))
                return probe.number;
        }
    }
    // Short strings compare fastest four code units at a time, without a call.
    static bool equal(QStringView a, QStringView b)
    {
        if (a.size() != b.size())
            return false;
        const char16_t* p = a.utf16();
        const char16_t* q = b.utf16();
        size_t n = size_t(a.size());
        for (; n >= 4; n -= 4, p += 4, q += 4) {
            uint64_t x, y;
            std::memcpy(&x, p, sizeof x);
            std::memcpy(&y, q, sizeof y);
            if (x != y)
                return false;
        }
        for (; n > 0; --n)
            if (*p++ != *q++)
                return false;
        return true;
    }
    // Appends a string not held yet.
    qint32 add(QStringView text, quint64 h);
    void grow();

    std::vector<char16_t> m_chars;
    // String i is m_chars[m_start[i] .. m_start[i + 1]): 32 bits hold far more than the
    // texts' bound, and at millions of strings every byte per string counts.
    std::vector<quint32> m_start{0};
    std::vector<Slot> m_slots;
};
