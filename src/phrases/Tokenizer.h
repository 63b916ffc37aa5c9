#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

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

// Both delimiter sets in one table, for splitting a text into its sentences and their
// words in one pass: a character that ends a sentence does so even when it also
// separates words, as the sentence list is split before its sentences are.
class SplitTable
{
public:
    enum Kind : uint8_t
    {
        WordCharacter,
        WordDelimiter,
        SentenceDelimiter
    };

    SplitTable(QStringView sentenceDelimiters, QStringView wordDelimiters);

    Kind of(char16_t c) const { return Kind(m_kinds[c]); }

private:
    // One byte per UTF-16 code unit (64 KB): one load per character, and the text's
    // letters use a few hundred bytes of it.
    std::vector<uint8_t> m_kinds;
};

// Splits a string into tokens at delimiter characters. Runs of delimiters and
// delimiters at either end yield nothing, so tokens are never empty. With an empty
// delimiter set the rest of the string is one token, so splitting always ends.
class Tokenizer
{
public:
    Tokenizer(QStringView text, const DelimiterSet& delimiters) : m_text(text), m_delimiters(delimiters) {}

    // The next token, or false when none is left.
    bool Next(QStringView& token);
    // Start offset in the text of the token last returned.
    qsizetype tokenStart() const { return m_tokenStart; }

private:
    QStringView m_text;
    const DelimiterSet& m_delimiters;
    qsizetype m_position = 0;
    qsizetype m_tokenStart = 0;
};
