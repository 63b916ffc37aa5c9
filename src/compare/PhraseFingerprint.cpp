#include "compare/PhraseFingerprint.h"

#include "phrases/CStemDictionary.h"
#include "phrases/SplitOptions.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QCryptographicHash>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <span>

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

} // namespace

QByteArray FingerprintText(QList<qint32> stemNumbers)
{
    QByteArray text;
    writeNumbers(stemNumbers.data(), stemNumbers.data() + stemNumbers.size(), text);
    return text;
}

QByteArray PhraseFingerprint(const CStemDictionary& dictionary, const QString& sentence, const SplitOptions& options,
                             Stemmer& stemmer)
{
    QStringList words;
    SplitWords(sentence, words, options);
    if (!options.Compares(words.size()))
        return {};
    QVarLengthArray<QStringView, 64> views(words.begin(), words.end());
    return fingerprintOfWords(
        views, [&](QStringView word) { return dictionary.Lookup(NormalizeWord(word.toString(), stemmer)); });
}
