#pragma once

#include "LibreOfficeRange.h"
#include "UnoCall.h"
#include "word/WordFind.h"

// A search of a document's main text, forward from the view cursor and, when asked,
// wrapping to the start. Hits in headers, frames and notes are passed over.
class LibreOfficeFind : public WordFind
{
public:
    LibreOfficeFind(UnoShared shared, std::shared_ptr<LibreOfficeRange::Refs> range);

    WordStatus SetForward(bool forward) override;
    WordStatus SetWrap(bool wrapToStart) override;
    WordStatus Execute(const QString& text, bool& found) override;

private:
    UnoShared m_shared;
    std::shared_ptr<LibreOfficeRange::Refs> m_range;
    bool m_wrap = false;
};
