#include "check/TextReading.h"

#include "check/CheckOptions.h"
#include "check/TrickCharacters.h"
#include "phrases/TextOps.h"
#include "phrases/TextWords.h"
#include "phrases/Tokenizer.h"

#include <QSet>
#include <algorithm>
#include <cstdint>
#include <optional>

using namespace TrickCharacters;

QString TrickKindName(TrickKind kind)
{
    switch (kind) {
    case TrickKind::MixedLetters:
        return QStringLiteral("mixed_letters");
    case TrickKind::Invisible:
        return QStringLiteral("invisible");
    case TrickKind::OddSpaces:
        return QStringLiteral("odd_spaces");
    case TrickKind::HiddenText:
        return QStringLiteral("hidden_text");
    }
    return {};
}

namespace {

struct Range
{
    qsizetype start = 0;
    qsizetype end = 0;
};

// Counts what one kind touched and keeps its first distinct samples.
struct Tally
{
    qsizetype count = 0;
    QStringList samples;

    // The sample is made only while there is room for it.
    template <typename MakeSample> void Add(MakeSample makeSample)
    {
        ++count;
        if (samples.size() >= TextReading::MaxSamples)
            return;
        const QString sample = makeSample();
        if (!samples.contains(sample))
            samples.append(sample);
    }
};

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

} // namespace

// The two passes of a reading: the first finds what is disguised (and whether
// anything is), the second writes the read text with its map back. Words here are
// runs of letters, combining marks and invisible characters, so that Latin terms and
// Greek letters beside Cyrillic words by a hyphen or a digit stay words of their own
// whatever the delimiter settings say.
class TextReader
{
public:
    TextReader(TextReading& reading, const QList<HiddenSpan>& hidden, const CheckOptions& options)
        : m_reading(reading), m_text(reading.m_written), m_size(m_text.size()),
          m_sentenceDelimiters(options.Delimiters1), m_wordDelimiters(options.Delimiters2)
    {
        // Spans are bounded to the text and kept in order, overlaps dropped.
        qsizetype end = 0;
        for (const HiddenSpan& span : hidden) {
            const qsizetype start = std::max(span.start, end);
            const qsizetype stop = std::min(span.start + std::max<qsizetype>(span.length, 0), m_size);
            if (stop > start) {
                m_hidden.append({start, stop});
                end = stop;
            }
        }
    }

    void Read()
    {
        if (m_hidden.isEmpty() && !MayHoldTricks())
            return;
        Survey();
        CountHidden();
        m_mixedActive = m_mixed.count > 0;
        m_softActive = m_badSoftHyphens > 0;
        m_oddActive = m_odd.count > 0;
        for (const Touched& run : std::as_const(m_touched)) {
            if (run.invisible || (m_softActive && run.soft))
                m_invisible.Add([&] { return Sample(run.range); });
        }
        if (m_mixedActive) {
            for (const Range& run : std::as_const(m_lookOnly))
                m_mixed.Add([&] { return Sample(run); });
        }
        const bool changed = m_dropsAny || !m_hidden.isEmpty() || m_mixedActive;
        if (changed)
            Write();
        const std::pair<TrickKind, const Tally*> tallies[] = {{TrickKind::MixedLetters, &m_mixed},
                                                              {TrickKind::Invisible, &m_invisible},
                                                              {TrickKind::OddSpaces, &m_odd},
                                                              {TrickKind::HiddenText, &m_hiddenWords}};
        for (const auto& [kind, tally] : tallies) {
            if (tally->count > 0)
                m_reading.m_findings.append({kind, tally->count, tally->samples});
        }
    }

private:
    struct Run
    {
        qsizetype start = -1; // -1: no run open
        qsizetype end = 0;
        qsizetype letters = 0;
        qsizetype cyrillic = 0;
        qsizetype lookAlikes = 0;
        qsizetype others = 0;
        bool invisible = false; // an invisible character after one of its letters
        bool soft = false;
        // Letters of the stretch since the last soft hyphen, for telling syllables.
        qsizetype segmentLetters = 0;
        bool segmentVowel = false;
        bool afterSoftHyphen = false;
        bool segmentBadStart = false;
        bool badSoftHyphen = false;
    };
    struct Touched
    {
        Range range;
        bool invisible = false;
        bool soft = false;
    };
    // A blank waiting for the word after it.
    struct PendingSpace
    {
        qsizetype position = 0;
        qsizetype start = 0; // where its sample starts: the word before, or the blank
        qsizetype lettersBefore = 0;
        bool typographic = false;
    };

    bool isDelimiter(char32_t c) const
    {
        return c <= 0xFFFF && (m_sentenceDelimiters.contains(char16_t(c)) || m_wordDelimiters.contains(char16_t(c)));
    }

    char32_t codePoint(qsizetype i, qsizetype& width) const
    {
        const QChar c = m_text.at(i);
        if (c.isHighSurrogate() && i + 1 < m_size && m_text.at(i + 1).isLowSurrogate()) {
            width = 2;
            return QChar::surrogateToUcs4(c, m_text.at(i + 1));
        }
        width = 1;
        return c.unicode();
    }

    bool isLoneLineFeed(qsizetype i) const { return m_text.at(i) == u'\n' && (i == 0 || m_text.at(i - 1) != u'\r'); }

    QString Sample(const Range& range) const { return m_text.sliced(range.start, range.end - range.start); }

    // A quick look for anything the survey could act on: a look-alike letter beside a
    // Cyrillic one (a word mixing the two has such a pair unless an invisible character
    // parts them, which is looked for too), or any character of the other classes.
    // Honest Russian text is letters, ASCII and a few punctuation marks, and ends here.
    bool MayHoldTricks() const
    {
        const QChar* text = m_text.constData();
        auto at = [&](qsizetype i) { return text[i].unicode(); };
        auto cyrillicAt = [&](qsizetype i) { return i >= 0 && i < m_size && at(i) >= 0x0400 && at(i) < 0x0530; };
        for (qsizetype i = 0; i < m_size; ++i) {
            // Blocks of only Cyrillic letters and ASCII other than letters, the bulk of a
            // text, are passed over in one step: the loop below would pass each of them.
            while (m_size - i >= kPlainBlock && IsPlainBlock(reinterpret_cast<const char16_t*>(text + i)))
                i += kPlainBlock;
            if (i == m_size)
                break;
            const char16_t c = at(i);
            if (c >= 0x0400 && c < 0x0530)
                continue;
            if (c < 0x80) {
                if (((c | 0x20) >= u'a' && (c | 0x20) <= u'z') && CyrillicLookAlike(c) &&
                    (cyrillicAt(i - 1) || cyrillicAt(i + 1)))
                    return true;
                continue;
            }
            if (QChar::isSurrogate(c) || IsInvisible(c) || c == SoftHyphen || IsSpaceLookAlike(c) ||
                QChar::category(char32_t(c)) == QChar::Mark_NonSpacing ||
                (CyrillicLookAlike(c) && (cyrillicAt(i - 1) || cyrillicAt(i + 1))))
                return true;
        }
        return false;
    }

    static constexpr qsizetype kPlainBlock = 32;

    // Whether a block holds nothing but letters of the main Cyrillic range (U+0400 to
    // U+04FF) and ASCII other than letters. In 16-bit arithmetic, without an early exit
    // or a short circuit, so that the compiler compares eight units at once.
    static bool IsPlainBlock(const char16_t* block)
    {
        std::uint16_t other = 0;
        for (qsizetype k = 0; k < kPlainBlock; ++k) {
            const std::uint16_t c = block[k];
            // Signed compares of the folded unit: they decide only where it is ASCII.
            const auto folded = std::int16_t(c | 0x20);
            const std::uint16_t cyrillic = std::uint16_t(c >> 8) == 0x04;
            const std::uint16_t ascii = std::uint16_t(c >> 7) == 0;
            const std::uint16_t letter = (folded >= std::int16_t('a')) & (folded <= std::int16_t('z'));
            other |= std::uint16_t(~(cyrillic | (ascii & ~letter)) & 1);
        }
        return other == 0;
    }

    void Survey()
    {
        qsizetype h = 0;
        for (qsizetype i = 0; i < m_size;) {
            if (h < m_hidden.size() && i >= m_hidden.at(h).start) {
                i = m_hidden.at(h++).end;
                continue;
            }
            qsizetype width = 1;
            const char32_t c = codePoint(i, width);
            if (c < 0x80) {
                // The common case: plain ASCII, a run's letter or anything else.
                const bool letter = (c | 0x20) >= U'a' && (c | 0x20) <= U'z';
                if (letter && !isDelimiter(c))
                    Letter(i, c);
                else if (c == U'\n' && isLoneLineFeed(i))
                    ; // dropped by the line-break rule; a run goes on through it
                else
                    Boundary();
                i += width;
                continue;
            }
            if (isDelimiter(c)) {
                Boundary();
            } else if (c >= 0x0400 && c <= 0x045F) {
                Letter(i, c); // the bulk of a Russian text, first
            } else if (IsInvisible(c) || c == SoftHyphen) {
                m_dropsAny = true;
                if (c == SoftHyphen)
                    SoftHyphenAt(i);
                else if (!(i == 0 && c == 0xFEFF))
                    InvisibleAt(i, width);
            } else if (IsSpaceLookAlike(c)) {
                m_dropsAny = true;
                Boundary();
                OddSpace(i, c);
            } else if (isMark(c)) {
                if (IsStressMark(c) || c == 0x0306 || c == 0x0308)
                    m_dropsAny = true;
                if (m_run.start >= 0)
                    m_run.end = i + width;
            } else if (QChar::isLetter(c)) {
                Letter(i, c, width);
            } else {
                Boundary();
            }
            i += width;
        }
        Boundary();
        ResolveLookOnly(false, true);
    }

    void Letter(qsizetype i, char32_t c, qsizetype width = 1)
    {
        if (m_run.start < 0) {
            m_run = Run();
            m_run.start = i;
        }
        m_run.end = i + width;
        ++m_run.letters;
        if (m_run.segmentLetters == 0 && m_run.afterSoftHyphen)
            m_run.segmentBadStart =
                c == U'ь' || c == U'ъ' || c == U'й' || c == U'ы' || c == U'Ь' || c == U'Ъ' || c == U'Й' || c == U'Ы';
        ++m_run.segmentLetters;
        m_run.segmentVowel = m_run.segmentVowel || IsVowel(c);
        if (IsCyrillicLetter(c))
            ++m_run.cyrillic;
        else if (CyrillicLookAlike(c))
            ++m_run.lookAlikes;
        else
            ++m_run.others;
    }

    // An invisible character after a letter changes the word and is a disguise; one
    // after punctuation (a break chance after a slash in an address) is dropped quietly.
    void InvisibleAt(qsizetype i, qsizetype width)
    {
        if (m_run.start < 0)
            return;
        m_run.end = i + width;
        m_run.invisible = true;
    }

    void SoftHyphenAt(qsizetype i)
    {
        if (m_run.start < 0) {
            m_run = Run();
            m_run.start = i;
            m_run.badSoftHyphen = true; // nothing before it to part
        } else if (!SegmentIsSyllableOf(m_run)) {
            m_run.badSoftHyphen = true;
        }
        m_run.end = i + 1;
        m_run.soft = true;
        m_run.afterSoftHyphen = true;
        m_run.segmentLetters = 0;
        m_run.segmentVowel = false;
        m_run.segmentBadStart = false;
    }

    // The run open, if any, ends here: classify it.
    void Boundary()
    {
        if (m_run.start < 0) {
            if (m_pendingSpace)
                ResolveSpace(0, m_pendingSpace->position + 1);
            return;
        }
        const Run run = m_run;
        m_run = Run();
        const Range range{run.start, run.end};
        if (run.soft && (run.badSoftHyphen || (run.afterSoftHyphen && !SegmentIsSyllableOf(run))))
            ++m_badSoftHyphens;
        if (run.invisible || run.soft)
            m_touched.append({range, run.invisible, run.soft});
        if (run.letters > 0) {
            if (run.cyrillic > 0 && run.lookAlikes > 0 && run.others == 0) {
                ResolveLookOnly(true, false);
                m_convert.append({range, false});
                m_mixed.Add([&] { return Sample(range); });
                m_lastSolidCyrillic = true;
            } else if (run.cyrillic == 0 && run.others == 0) {
                m_pendingLookOnly.append(range);
            } else {
                ResolveLookOnly(run.cyrillic > 0, false);
                m_lastSolidCyrillic = run.cyrillic > 0;
            }
        }
        if (m_pendingSpace)
            ResolveSpace(run.letters, run.end);
        m_lastRunLetters = run.letters;
        m_lastRunStart = run.start;
        m_lastRunEnd = run.end;
    }

    // A soft hyphen parts syllables when the stretches on either side have two letters
    // and a vowel each, and what follows it does not start with ь, ъ, й or ы: hyphenation
    // leaves those; one planted anywhere else is a disguise.
    static bool SegmentIsSyllableOf(const Run& run)
    {
        return run.segmentLetters >= 2 && run.segmentVowel && !run.segmentBadStart;
    }

    // Words of look-alike letters only (a Latin "c" or "o" for the Cyrillic preposition)
    // read as Cyrillic when the words on both sides are Cyrillic.
    void ResolveLookOnly(bool rightCyrillic, bool atEnd)
    {
        const bool rightOk = rightCyrillic || atEnd;
        for (const Range& range : std::as_const(m_pendingLookOnly)) {
            const bool leftOk = m_lastSolidCyrillic || !m_seenSolid;
            if (leftOk && rightOk && (m_lastSolidCyrillic || rightCyrillic)) {
                m_lookOnly.append(range);
                m_convert.append({range, true});
            }
        }
        m_pendingLookOnly.clear();
        if (!atEnd)
            m_seenSolid = true;
    }

    void OddSpace(qsizetype i, char32_t c)
    {
        if (m_pendingSpace)
            ResolveSpace(0, m_pendingSpace->position + 1);
        const bool afterWord = m_lastRunEnd == i && m_lastRunLetters > 0;
        m_pendingSpace =
            PendingSpace{i, afterWord ? m_lastRunStart : i, afterWord ? m_lastRunLetters : 0, IsTypographicSpace(c)};
    }

    // Typesetting binds a number to its unit, a short word to the next, an initial to a
    // name, a word to a dash: a typographic blank with a long word on either side is none
    // of these.
    void ResolveSpace(qsizetype lettersAfter, qsizetype end)
    {
        const PendingSpace space = *m_pendingSpace;
        m_pendingSpace.reset();
        const bool suspicious = !space.typographic || (space.lettersBefore > 3 && lettersAfter > 2);
        if (suspicious)
            m_odd.Add([&] { return Sample({space.start, end}); });
    }

    void CountHidden()
    {
        for (const Range& span : std::as_const(m_hidden)) {
            qsizetype i = span.start;
            while (i < span.end) {
                while (i < span.end && IsWordGap(m_text.at(i)))
                    ++i;
                const qsizetype start = i;
                bool meaningful = false;
                while (i < span.end && !IsWordGap(m_text.at(i))) {
                    meaningful = meaningful || m_text.at(i).isLetterOrNumber();
                    ++i;
                }
                if (meaningful)
                    m_hiddenWords.Add([&] { return Sample({start, i}); });
            }
        }
    }

    bool IsWordGap(QChar c) const
    {
        return m_wordDelimiters.contains(c.unicode()) || m_sentenceDelimiters.contains(c.unicode()) || c.isSpace() ||
               IsSpaceLookAlike(c.unicode());
    }

    void Write();

    TextReading& m_reading;
    const QString& m_text;
    const qsizetype m_size;
    const DelimiterSet m_sentenceDelimiters;
    const DelimiterSet m_wordDelimiters;
    QList<Range> m_hidden;

    Run m_run;
    qsizetype m_lastRunLetters = 0;
    qsizetype m_lastRunStart = -1;
    qsizetype m_lastRunEnd = -1;
    bool m_lastSolidCyrillic = false;
    bool m_seenSolid = false;
    QList<Range> m_pendingLookOnly;
    std::optional<PendingSpace> m_pendingSpace;

    struct Conversion
    {
        Range range;
        bool lookOnly = false;
    };
    QList<Conversion> m_convert; // in text order
    QList<Range> m_lookOnly;
    QList<Touched> m_touched;
    qsizetype m_badSoftHyphens = 0;
    bool m_dropsAny = false; // a character is dropped or read as another one
    bool m_mixedActive = false;
    bool m_softActive = false;
    bool m_oddActive = false;

    Tally m_mixed;
    Tally m_invisible;
    Tally m_odd;
    Tally m_hiddenWords;
};

void TextReader::Write()
{
    // The read text is never longer than the written one: both are sized once and
    // filled through pointers, then cut to what was written.
    QString& read = m_reading.m_read;
    QList<qint32>& map = m_reading.m_toWritten;
    QList<TrickMark>& marks = m_reading.m_marks;
    read.resize(m_size);
    map.resize(m_size + 1);
    QChar* out = read.data();
    qint32* from = map.data();
    qsizetype size = 0;
    auto put = [&](QChar c, qsizetype at) {
        out[size] = c;
        from[size++] = qint32(at);
    };
    auto mark = [&](qsizetype start, qsizetype count, TrickKind kind) {
        if (!marks.isEmpty() && marks.last().kind == kind && marks.last().start + marks.last().length == start)
            marks.last().length += count;
        else
            marks.append({start, count, kind});
    };

    qsizetype h = 0;
    qsizetype k = 0; // next conversion
    for (qsizetype i = 0; i < m_size;) {
        if (h < m_hidden.size() && i >= m_hidden.at(h).start) {
            mark(m_hidden.at(h).start, m_hidden.at(h).end - m_hidden.at(h).start, TrickKind::HiddenText);
            i = m_hidden.at(h++).end;
            continue;
        }
        while (k < m_convert.size() && m_convert.at(k).range.end <= i)
            ++k;
        qsizetype width = 1;
        const char32_t c = codePoint(i, width);
        if (c == U'\r' && i + 1 < m_size && m_text.at(i + 1) == u'\n') {
            put(QChar(u'.'), i);
            i += 2;
            continue;
        }
        if (c == U'\n' || isDelimiter(c)) {
            if (c != U'\n')
                put(QChar(char16_t(c)), i);
            i += width;
            continue;
        }
        if (c < 0x80) {
            const bool converting = k < m_convert.size() && m_convert.at(k).range.start <= i &&
                                    (m_mixedActive || !m_convert.at(k).lookOnly);
            const char16_t cyrillic = converting ? CyrillicLookAlike(c) : 0;
            if (cyrillic) {
                mark(i, 1, TrickKind::MixedLetters);
                put(QChar(cyrillic), i);
            } else {
                put(QChar(char16_t(c)), i);
            }
            i += 1;
            continue;
        }
        if (IsInvisible(c) || c == SoftHyphen) {
            // Marked where the survey counted it: after a letter, or a planted soft hyphen.
            const bool afterLetter = size > 0 && out[size - 1].isLetter();
            if (c != SoftHyphen ? afterLetter : m_softActive)
                mark(i, width, TrickKind::Invisible);
        } else if (IsStressMark(c)) {
            // dropped without a word: teaching texts carry them honestly
        } else if ((c == 0x0306 || c == 0x0308) && size > 0) {
            // A letter written with a separate breve or diaeresis is the letter й or ё.
            const char16_t base = out[size - 1].unicode();
            const char16_t composed = c == 0x0306 ? (base == u'и'   ? u'й'
                                                     : base == u'И' ? u'Й'
                                                                    : 0)
                                                  : (base == u'е'   ? u'ё'
                                                     : base == u'Е' ? u'Ё'
                                                                    : 0);
            if (composed)
                out[size - 1] = QChar(composed);
            else
                put(QChar(char16_t(c)), i);
        } else if (IsSpaceLookAlike(c)) {
            // Read as a space always (the readers once did it for the no-break space);
            // marked only where the document disguises its blanks.
            if (m_oddActive)
                mark(i, 1, TrickKind::OddSpaces);
            put(QChar(u' '), i);
        } else {
            const bool converting = k < m_convert.size() && m_convert.at(k).range.start <= i &&
                                    (m_mixedActive || !m_convert.at(k).lookOnly);
            const char16_t cyrillic = converting ? CyrillicLookAlike(c) : 0;
            if (cyrillic) {
                mark(i, width, TrickKind::MixedLetters);
                put(QChar(cyrillic), i);
            } else {
                for (qsizetype j = 0; j < width; ++j)
                    put(m_text.at(i + j), i + j);
            }
        }
        i += width;
    }
    from[size] = qint32(m_size);
    read.truncate(size);
    map.resize(size + 1);
}

TextReading::TextReading(const QString& written, const QList<HiddenSpan>& hidden, const CheckOptions& options)
    : m_written(written)
{
    TextReader(*this, hidden, options).Read();
}

WrittenSentence TextReading::Written(qsizetype start, qsizetype length) const
{
    WrittenSentence sentence;
    if (untouched()) {
        sentence.text = m_written.mid(start, length);
        return sentence;
    }
    start = std::clamp<qsizetype>(start, 0, m_read.size());
    length = std::clamp<qsizetype>(length, 0, m_read.size() - start);
    const qsizetype from = m_toWritten.at(start);
    const qsizetype to = m_toWritten.at(start + length);
    // Offsets of the written stretch in the sentence's text, line breaks treated as the
    // sentence list treats them.
    QList<qint32> place(to - from + 1);
    for (qsizetype w = from; w < to;) {
        place[w - from] = qint32(sentence.text.size());
        if (m_written.at(w) == u'\r' && w + 1 < m_written.size() && m_written.at(w + 1) == u'\n') {
            if (w + 1 < to)
                place[w + 1 - from] = qint32(sentence.text.size());
            sentence.text.append(QChar(u'.'));
            w += 2;
        } else {
            if (m_written.at(w) != u'\n')
                sentence.text.append(m_written.at(w));
            ++w;
        }
    }
    place[to - from] = qint32(sentence.text.size());
    sentence.fromRead.reserve(length + 1);
    for (qsizetype r = 0; r <= length; ++r)
        sentence.fromRead.append(place.at(m_toWritten.at(start + r) - from));
    auto mark = std::lower_bound(m_marks.begin(), m_marks.end(), from,
                                 [](const TrickMark& m, qsizetype at) { return m.start + m.length <= at; });
    for (; mark != m_marks.end() && mark->start < to; ++mark) {
        const qsizetype markStart = std::max(mark->start, from);
        const qsizetype markEnd = std::min(mark->start + mark->length, to);
        const qint32 begin = place.at(markStart - from);
        const qint32 end = place.at(markEnd - from);
        if (end > begin)
            sentence.marks.append({begin, end - begin, mark->kind});
    }
    return sentence;
}

WrittenSentence TextReading::Written(const QString& sentence) const
{
    if (untouched())
        return WrittenSentence{sentence, {}, {}};
    const auto it = m_sentenceStarts.constFind(sentence);
    if (it == m_sentenceStarts.constEnd())
        return WrittenSentence{sentence, {}, {}};
    return Written(*it, sentence.size());
}

void TextReading::IndexSentences(const TextWords& sentences)
{
    if (untouched())
        return;
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        const QString text = sentences.sentenceText(i).toString();
        if (!m_sentenceStarts.contains(text))
            m_sentenceStarts.insert(text, sentences.at(i).start);
    }
}
