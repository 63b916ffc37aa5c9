#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

class CStemDictionary;
class Stemmer;
struct SplitOptions;

// The fingerprint of a sentence: the MD5 digest (32 lowercase hex digits) of its set
// of stem numbers, written in ascending order and joined with commas. Empty when the
// sentence has no more than MinWords words or a word whose stem the dictionary lacks.
// The search compares the sets themselves, which are equal exactly when these are.
QByteArray PhraseFingerprint(const CStemDictionary& dictionary, const QString& sentence, const SplitOptions& options,
                             Stemmer& stemmer);

// The text that is hashed: "0,2,10" for the set {10, 0, 2}.
QByteArray FingerprintText(QList<qint32> stemNumbers);
