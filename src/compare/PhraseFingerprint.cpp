#include "compare/PhraseFingerprint.h"

#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"
#include "settings/AppSettings.h"

#include <QCryptographicHash>
#include <algorithm>

QByteArray FingerprintText(QList<qint32> stemNumbers)
{
    std::sort(stemNumbers.begin(), stemNumbers.end());
    stemNumbers.erase(std::unique(stemNumbers.begin(), stemNumbers.end()), stemNumbers.end());
    // A separator keeps different sets apart: {1, 2, 3} and {1, 23} must not read alike.
    QByteArray text;
    text.reserve(stemNumbers.size() * 6);
    for (qsizetype i = 0; i < stemNumbers.size(); ++i) {
        if (i > 0)
            text.append(',');
        text.append(QByteArray::number(stemNumbers.at(i)));
    }
    return text;
}

QByteArray PhraseFingerprint(const CStemDictionary& dictionary, QStringView sentence,
                             const DelimiterSet& wordDelimiters, qint32 minWords)
{
    if (CountWords(sentence, wordDelimiters) <= minWords)
        return {};
    QList<qint32> numbers;
    Tokenizer words(sentence, wordDelimiters);
    QStringView word;
    while (words.next(word)) {
        const qint32 number = dictionary.Lookup(NormalizeWord(word.toString()));
        if (number < 0)
            return {};
        numbers.append(number);
    }
    return QCryptographicHash::hash(FingerprintText(std::move(numbers)), QCryptographicHash::Md5).toHex();
}

QByteArray PhraseFingerprint(const CStemDictionary& dictionary, const QString& sentence)
{
    const AppSettings& settings = AppSettings::Instance();
    return PhraseFingerprint(dictionary, sentence, DelimiterSet(settings.Delimiters2), settings.MinWords);
}
