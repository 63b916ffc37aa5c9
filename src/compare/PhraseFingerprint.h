#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <span>

class CStemDictionary;
class DelimiterSet;
class Stemmer;
class WordNumberCache;
struct CheckOptions;

// The fingerprint of a sentence: the MD5 digest (32 lowercase hex digits) of its set
// of stem numbers, written in ascending order and joined with commas. Empty when the
// sentence has no more than MinWords words or a word whose stem the dictionary lacks.
QByteArray PhraseFingerprint(const CStemDictionary& dictionary, const QString& sentence, const CheckOptions& options,
                             Stemmer& stemmer);

// The same with the delimiters already built, for loops over many sentences.
QByteArray PhraseFingerprint(const CStemDictionary& dictionary, QStringView sentence,
                             const DelimiterSet& wordDelimiters, qint32 minWords, Stemmer& stemmer);

// The same through a cache of word numbers, for a whole search.
QByteArray PhraseFingerprint(WordNumberCache& numbers, QStringView sentence, const DelimiterSet& wordDelimiters,
                             qint32 minWords);

// The fingerprint of a sentence already split into words that has more than
// MinWords of them: empty only when a word's stem is missing from the dictionary.
QByteArray WordsFingerprint(WordNumberCache& numbers, std::span<const QStringView> words);

// The text that is hashed: "0,2,10" for the set {10, 0, 2}.
QByteArray FingerprintText(QList<qint32> stemNumbers);
