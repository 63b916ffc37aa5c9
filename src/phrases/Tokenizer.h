#pragma once

#include <QString>
#include <QStringView>
#include <bitset>
#include <vector>

// A set of delimiter characters, compared code unit by code unit.
class DelimiterSet
{
public:
    explicit DelimiterSet(QStringView characters);

    bool contains(char16_t c) const
    {
        if (c < 256)
            return m_latin1.test(c);
        for (char16_t other : m_other)
            if (other == c)
                return true;
        return false;
    }
    bool isEmpty() const { return m_empty; }

private:
    std::bitset<256> m_latin1;
    std::vector<char16_t> m_other;
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
