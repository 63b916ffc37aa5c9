#pragma once

#include "word/WordStatus.h"

// A search over the range it came from. A successful Execute narrows that range
// to the hit, so selecting the range afterwards selects what was found.
class WordFind
{
public:
    virtual ~WordFind() = default;

    virtual WordStatus SetForward(bool forward) = 0;
    // true: on reaching the end, go on from the start of the range.
    virtual WordStatus SetWrap(bool wrapToStart) = 0;
    // found tells whether the text occurs; a failure leaves found false.
    virtual WordStatus Execute(const QString& text, bool& found) = 0;
};
