#pragma once

#include <QString>

// A regular expression (ICU and PCRE syntax alike) that finds a sentence as the text
// filters delivered it in the document it came from: where the filters turned no-break
// spaces, tabs and line breaks into plain spaces, or special hyphens into '-', and
// dropped soft hyphens, the pattern accepts any of those forms.
class WordSearchPattern
{
public:
    static QString Tolerant(const QString& text);
};
