#include "compare/PhraseFingerprint.h"

#include "check/CheckOptions.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"
#include "phrases/WordNumberCache.h"

#include <QCryptographicHash>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>

namespace {

// Writes "0,2,10" for the numbers {10, 0, 2, 10}: sorted, each once, comma-separated,
// so that two different sets never read alike ({1, 2, 3} and {1, 23} stay apart).
template <typename Buffer> void writeNumbers(qint32* begin, qint32* end, Buffer& text)
{
    std::sort(begin, end);
    end = std::unique(begin, end);
    text.resize(qsizetype(end - begin) * 12);
    char* out = text.data();
    char* const limit = out + text.size();
    for (qint32* it = begin; it != end; ++it) {
        if (it != begin)
            *out++ = ',';
        out = std::to_chars(out, limit, *it).ptr;
    }
    text.resize(out - text.data());
}

template <typename NumberOf> QByteArray fingerprintOfWords(std::span<const QStringView> words, NumberOf numberOf)
{
    QVarLengthArray<qint32, 64> numbers;
    for (QStringView w : words) {
        const qint32 number = numberOf(w);
        if (number < 0)
            return {};
        numbers.append(number);
    }
    QVarLengthArray<char, 512> text;
    writeNumbers(numbers.begin(), numbers.end(), text);
    return QCryptographicHash::hash(QByteArrayView(text.data(), text.size()), QCryptographicHash::Md5).toHex();
}

template <typename NumberOf>
QByteArray fingerprint(QStringView sentence, const DelimiterSet& wordDelimiters, qint32 minWords, NumberOf numberOf)
{
    QVarLengthArray<QStringView, 64> words;
    Tokenizer tokens(sentence, wordDelimiters);
    QStringView word;
    while (tokens.next(word))
        words.append(word);
    if (words.size() <= minWords)
        return {};
    return fingerprintOfWords(words, numberOf);
}

} // namespace

QByteArray FingerprintText(QList<qint32> stemNumbers)
{
    QByteArray text;
    writeNumbers(stemNumbers.data(), stemNumbers.data() + stemNumbers.size(), text);
    return text;
}

QByteArray PhraseFingerprint(const CStemDictionary& dictionary, QStringView sentence,
                             const DelimiterSet& wordDelimiters, qint32 minWords, Stemmer& stemmer)
{
    return fingerprint(sentence, wordDelimiters, minWords,
                       [&](QStringView word) { return dictionary.Lookup(NormalizeWord(word.toString(), stemmer)); });
}

QByteArray PhraseFingerprint(WordNumberCache& numbers, QStringView sentence, const DelimiterSet& wordDelimiters,
                             qint32 minWords)
{
    return fingerprint(sentence, wordDelimiters, minWords, [&](QStringView word) { return numbers.number(word); });
}

QByteArray WordsFingerprint(WordNumberCache& numbers, std::span<const QStringView> words)
{
    return fingerprintOfWords(words, [&](QStringView word) { return numbers.number(word); });
}

QByteArray PhraseFingerprint(const CStemDictionary& dictionary, const QString& sentence, const CheckOptions& options,
                             Stemmer& stemmer)
{
    return PhraseFingerprint(dictionary, sentence, DelimiterSet(options.Delimiters2), options.MinWords, stemmer);
}
