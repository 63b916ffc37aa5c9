#pragma once

#include <QStringView>
#include <QtGlobal>
#include <cstdint>
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

    // Strings are short: a plain FNV-1a over the code units hashes them fastest. Its low
    // bits, which pick the slot, only ever see the low bits of each code unit, so a final
    // mix spreads the high ones down.
    static quint64 hash(QStringView text)
    {
        uint64_t h = 14695981039346656037ull;
        for (const QChar c : text) {
            h ^= c.unicode();
            h *= 1099511628211ull;
        }
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
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
