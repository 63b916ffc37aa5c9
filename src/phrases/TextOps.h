#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class DelimiterSet;
class Stemmer;
struct SplitOptions;

// Text operations of the phrase model. They take their strings by value or view and
// never change their caller's strings; delimiters and stems come from the caller.

// Turns every CR LF into a full stop, then removes every LF left. A lone CR stays.
QString NormalizeLineBreaks(QString text);

// Appends the words of a phrase, split at the word delimiters, to words.
void SplitWords(const QString& phrase, QStringList& words, const SplitOptions& options);

// Number of words SplitWords would give, without building them.
qsizetype CountWords(QStringView phrase, const DelimiterSet& wordDelimiters);

// Lower-cases one UTF-16 code unit for one (simple case mapping); the length never changes.
QString LowerCaseWord(QString word);

// The stem key of a word: the word lower-cased, stemmed by the stemmer.
QString NormalizeWord(QString word, Stemmer& stemmer);
