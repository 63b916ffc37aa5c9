#pragma once

#include "phrases/StringPool.h"

#include <QString>
#include <QStringView>
#include <span>
#include <vector>

class DelimiterSet;
class Stemmer;
struct SplitOptions;

// Every distinct word form of one Check, numbered once for both documents, with its
// stem: each form is lower-cased and stemmed once, at its first need, and its stem
// interned, so that everything after the split compares numbers. Not for use from two
// threads at once: stems are filled in as they are asked for.
class WordForms
{
public:
    explicit WordForms(Stemmer& stemmer) : m_stemmer(stemmer) {}

    qint32 add(QStringView word);
    QStringView form(qint32 form) const { return m_forms.at(form); }
    qint32 size() const { return m_forms.size(); }

    // The number (in stems()) of NormalizeWord of the form.
    qint32 stemOf(qint32 form);
    // The number of the stem of a stem, lower-cased: what NormalizeWord makes of it.
    qint32 restemOf(qint32 stem);
    // The form without the symbols around its letters and digits ("начался…" is
    // "начался"), offset by `offset` in it; -1 when it has no letter or digit.
    qint32 trimmedOf(qint32 form, qint32& offset);

    StringPool& stems() { return m_stems; }
    const StringPool& stems() const { return m_stems; }

private:
    struct Trim
    {
        qint32 form = -2; // not worked out yet
        qint32 offset = 0;
    };

    Stemmer& m_stemmer;
    StringPool m_forms;
    StringPool m_stems;
    std::vector<qint32> m_stemOf;   // by form; -1 until stemmed
    std::vector<Trim> m_trimmed;    // by form
    std::vector<qint32> m_restemOf; // by stem; -1 until worked out
};

// One text split once: its sentences as the sentence list keeps them (at least
// MinWords words, not a lone space) and each one's words as form numbers. Sentences
// and words are spans of text(), the text with its line breaks normalised.
class TextWords
{
public:
    struct Sentence
    {
        qint32 start = 0;     // in text()
        qint32 length = 0;    // in UTF-16 code units
        qint32 firstWord = 0; // its words are forms()[firstWord .. firstWord + wordCount)
        qint32 wordCount = 0;
    };

    TextWords() = default;
    // Applies NormalizeLineBreaks to the text and splits it.
    TextWords(const QString& text, const SplitOptions& options, WordForms& forms);

    const QString& text() const { return m_text; }
    qsizetype size() const { return qsizetype(m_sentences.size()); }
    const Sentence& at(qsizetype i) const { return m_sentences[size_t(i)]; }
    QStringView sentenceText(qsizetype i) const
    {
        return QStringView(m_text).sliced(m_sentences[size_t(i)].start, m_sentences[size_t(i)].length);
    }
    // The forms of a sentence's words, in order, and where each starts in the sentence.
    std::span<const qint32> forms(qsizetype i) const
    {
        return {m_forms.data() + m_sentences[size_t(i)].firstWord, size_t(m_sentences[size_t(i)].wordCount)};
    }
    std::span<const qint32> starts(qsizetype i) const
    {
        return {m_starts.data() + m_sentences[size_t(i)].firstWord, size_t(m_sentences[size_t(i)].wordCount)};
    }

private:
    QString m_text;
    std::vector<Sentence> m_sentences;
    std::vector<qint32> m_forms;
    std::vector<qint32> m_starts;
};
