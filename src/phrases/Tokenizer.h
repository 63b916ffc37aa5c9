#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

// A set of delimiter characters, compared code unit by code unit.
class DelimiterSet
{
public:
    explicit DelimiterSet(QStringView characters);

    bool contains(char16_t c) const { return (m_bits[c >> 6] >> (c & 63)) & 1; }
    bool isEmpty() const { return m_empty; }

private:
    // One bit per UTF-16 code unit (8 KB): splitting tests every character.
    std::array<uint64_t, 1024> m_bits{};
    bool m_empty = true;
};

// Splits a string into tokens at delimiter characters. Runs of delimiters and
// delimiters at either end yield nothing, so tokens are never empty. With an empty
// delimiter set the rest of the string is one token, so splitting always ends.
class Tokenizer
{
public:
    Tokenizer(QStringView text, const DelimiterSet& delimiters) : m_text(text), m_delimiters(delimiters) {}

    // The next token, or false when none is left.
    bool next(QStringView& token);
    // Start offset in the text of the token last returned.
    qsizetype tokenStart() const { return m_tokenStart; }

private:
    QStringView m_text;
    const DelimiterSet& m_delimiters;
    qsizetype m_position = 0;
    qsizetype m_tokenStart = 0;
};
