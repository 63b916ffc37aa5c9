#pragma once

#include "word/WordStatus.h"

#include <memory>

class WordFind;

// A stretch of a document's main text: the whole of it, or the hit of a search.
class WordRange
{
public:
    virtual ~WordRange() = default;

    // The search object of this range; find may be left empty.
    virtual WordStatus Find(std::shared_ptr<WordFind>& find) = 0;
    // Selects the range in the document's window so that the user sees it.
    virtual WordStatus Select() = 0;
};
