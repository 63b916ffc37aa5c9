#include "phrases/TextWords.h"

#include "morph/Stemmer.h"
#include "phrases/SplitOptions.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QVarLengthArray>

namespace {

bool isLetterOrNumber(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'0' && u <= u'9') || ((u | 0x20) >= u'a' && (u | 0x20) <= u'z');
    return c.isLetterOrNumber();
}

} // namespace

qint32 WordForms::add(QStringView word)
{
    const qint32 form = m_forms.intern(word);
    if (size_t(form) >= m_stemOf.size()) {
        m_stemOf.push_back(-1);
        m_trimmed.push_back({});
    }
    return form;
}

qint32 WordForms::stemOf(qint32 form)
{
    qint32& stem = m_stemOf[size_t(form)];
    if (stem < 0)
        stem = m_stems.intern(NormalizeWord(m_forms.at(form).toString(), m_stemmer));
    return stem;
}

qint32 WordForms::restemOf(qint32 stem)
{
    if (m_restemOf.size() < size_t(m_stems.size()))
        m_restemOf.resize(size_t(m_stems.size()), -1);
    if (m_restemOf[size_t(stem)] < 0) {
        const qint32 restem = m_stems.intern(NormalizeWord(m_stems.at(stem).toString(), m_stemmer));
        if (m_restemOf.size() < size_t(m_stems.size()))
            m_restemOf.resize(size_t(m_stems.size()), -1);
        m_restemOf[size_t(stem)] = restem;
    }
    return m_restemOf[size_t(stem)];
}

qint32 WordForms::trimmedOf(qint32 form, qint32& offset)
{
    if (m_trimmed[size_t(form)].form == -2) {
        const QStringView word = m_forms.at(form);
        qsizetype begin = 0;
        qsizetype end = word.size();
        while (begin < end && !isLetterOrNumber(word[begin]))
            ++begin;
        while (end > begin && !isLetterOrNumber(word[end - 1]))
            --end;
        Trim trim;
        trim.offset = qint32(begin);
        if (begin == end)
            trim.form = -1;
        else if (begin == 0 && end == word.size())
            trim.form = form;
        else
            trim.form = add(word.sliced(begin, end - begin)); // may move m_trimmed
        m_trimmed[size_t(form)] = trim;
    }
    offset = m_trimmed[size_t(form)].offset;
    return m_trimmed[size_t(form)].form;
}

TextWords::TextWords(const QString& text, const SplitOptions& options, WordForms& forms)
    : m_text(NormalizeLineBreaks(text))
{
    // One pass over the text gives what the sentence list and SplitWords on each of its
    // sentences give: sentences are the runs without a sentence delimiter, words the runs
    // in them without a word delimiter.
    const SplitTable kinds(options.Delimiters1, options.Delimiters2);
    const char16_t* const chars = QStringView(m_text).utf16();
    const qint32 size = qint32(m_text.size());
    struct Word
    {
        qint32 start; // in text()
        qint32 length;
    };
    QVarLengthArray<Word, 64> words; // of the sentence being read
    qint32 sentenceStart = -1;       // -1 between sentences
    const auto endSentence = [&](qint32 end) {
        const QStringView sentence(chars + sentenceStart, end - sentenceStart);
        if (options.Keeps(sentence, words.size())) {
            m_sentences.push_back({sentenceStart, end - sentenceStart, qint32(m_forms.size()), qint32(words.size())});
            // Forms are numbered in the order the kept sentences hold them.
            for (const Word& word : words) {
                m_forms.push_back(forms.add(QStringView(chars + word.start, word.length)));
                m_starts.push_back(word.start - sentenceStart);
            }
        }
        words.clear();
        sentenceStart = -1;
    };
    for (qint32 i = 0; i < size;) {
        switch (kinds.of(chars[i])) {
        case SplitTable::WordCharacter: {
            const qint32 start = i;
            while (++i < size && kinds.of(chars[i]) == SplitTable::WordCharacter) {
            }
            if (sentenceStart < 0)
                sentenceStart = start;
            words.append({start, i - start});
            break;
        }
        case SplitTable::WordDelimiter:
            if (sentenceStart < 0)
                sentenceStart = i;
            ++i;
            break;
        case SplitTable::SentenceDelimiter:
            if (sentenceStart >= 0)
                endSentence(i);
            ++i;
            break;
        }
    }
    if (sentenceStart >= 0)
        endSentence(size);
    // Kept for the whole Check: without the room left by growing.
    m_sentences.shrink_to_fit();
    m_forms.shrink_to_fit();
    m_starts.shrink_to_fit();
}
