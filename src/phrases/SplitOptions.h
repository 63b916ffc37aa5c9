#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// How a text splits into sentences and words, and which sentences count. The front
// ends fill it from the stored settings; everything below reads it from here.
struct SplitOptions
{
    QString Delimiters1 = DefaultDelimiters1(); // characters that end a sentence
    QString Delimiters2 = DefaultDelimiters2(); // characters that separate words
    qint32 MinWords = DefaultMinWords;          // minimum number of words a sentence needs

    static constexpr qint32 DefaultMinWords = 3;
    // The range of MinWords the options dialog offers and the command line accepts.
    static constexpr qint32 LowestMinWords = 3;
    static constexpr qint32 HighestMinWords = 10;

    static QString DefaultDelimiters1() { return QStringLiteral(".!?"); }
    // The 40-character word delimiter set, ending with a tab.
    static QString DefaultDelimiters2() { return DefaultDelimiters2WithoutTab() + QChar(u'\t'); }
    // The same set without its final tab (39 characters), as the options dialog restores it.
    static QString DefaultDelimiters2WithoutTab()
    {
        return QStringLiteral(u"  ,-=)(:\"'/\\&^%$#@1234567890|[]{}<>;\u00B7\u00AB\u00BB");
    }

    // Whether the sentence list keeps a sentence of wordCount words: at least MinWords
    // of them, and not the sentence that is one space.
    bool Keeps(QStringView sentence, qsizetype wordCount) const { return wordCount >= MinWords && sentence != u" "; }
    // Whether a kept sentence (or unit of sentences) is compared: one word more than
    // the list demands, so identical short sentences are never reported.
    bool Compares(qsizetype wordCount) const { return wordCount > MinWords; }
};
