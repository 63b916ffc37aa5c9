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
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    Tokenizer sentences(m_text, sentenceDelimiters);
    QStringView sentence;
    QVarLengthArray<QStringView, 64> words;
    QVarLengthArray<qint32, 64> starts;
    while (sentences.next(sentence)) {
        words.clear();
        starts.clear();
        Tokenizer tokens(sentence, wordDelimiters);
        QStringView word;
        while (tokens.next(word)) {
            words.append(word);
            starts.append(qint32(tokens.tokenStart()));
        }
        if (!options.Keeps(sentence, words.size()))
            continue;
        Sentence kept;
        kept.start = qint32(sentences.tokenStart());
        kept.length = qint32(sentence.size());
        kept.firstWord = qint32(m_forms.size());
        kept.wordCount = qint32(words.size());
        for (qsizetype i = 0; i < words.size(); ++i) {
            m_forms.push_back(forms.add(words[i]));
            m_starts.push_back(starts[i]);
        }
        m_sentences.push_back(kept);
    }
    // Kept for the whole Check: without the room left by growing.
    m_sentences.shrink_to_fit();
    m_forms.shrink_to_fit();
    m_starts.shrink_to_fit();
}
