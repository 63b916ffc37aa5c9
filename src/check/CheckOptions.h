#pragma once

#include "compare/NearOptions.h"

#include <QString>
#include <QtGlobal>

class Thesaurus;

// Everything a Check depends on besides the two texts and the stemmer: how texts
// split into sentences and words, and what is looked for. The front ends fill it
// from the stored settings at every Check; the engine never reads settings itself.
struct CheckOptions
{
    QString Delimiters1 = DefaultDelimiters1(); // characters that end a sentence
    QString Delimiters2 = DefaultDelimiters2(); // characters that separate words
    qint32 MinWords = DefaultMinWords;          // minimum number of words a sentence needs

    // Near matches: sentences light edits only disguise, at least this similar (percent).
    bool NearMatches = false;
    qint32 NearThreshold = DefaultNearThreshold;
    // Synonyms near matches recognise, loaded by the front end; none when null.
    const Thesaurus* Synonyms = nullptr;

    // Matches kept by one Check, exact and near together; the rest are counted as cut off.
    qsizetype MaxMatches = DefaultMaxMatches;
    // The same in bytes of report: the matches kept, exact first, are those whose
    // sentences (in UTF-8) and a kReportEntryBytes allowance each fit in this many.
    qsizetype MaxReportBytes = DefaultMaxReportBytes;

    static constexpr qint32 DefaultMinWords = 3;
    // The range of MinWords the options dialog offers and the command line accepts.
    static constexpr qint32 LowestMinWords = 3;
    static constexpr qint32 HighestMinWords = 10;
    static constexpr qint32 DefaultNearThreshold = NearOptions::kDefaultThreshold;
    static constexpr qsizetype DefaultMaxMatches = 1000000;
    static constexpr qsizetype DefaultMaxReportBytes = qsizetype(256) * 1024 * 1024;
    static constexpr qsizetype kReportEntryBytes = 256;

    static QString DefaultDelimiters1() { return QStringLiteral(".!?"); }
    // The 40-character word delimiter set, ending with a tab.
    static QString DefaultDelimiters2() { return DefaultDelimiters2WithoutTab() + QChar(u'\t'); }
    // The same set without its final tab (39 characters), as the options dialog restores it.
    static QString DefaultDelimiters2WithoutTab()
    {
        return QStringLiteral(u"  ,-=)(:\"'/\\&^%$#@1234567890|[]{}<>;\u00B7\u00AB\u00BB");
    }
};
