#pragma once

#include "ComDispatch.h"
#include "word/WordRange.h"

// A stretch of a document, through its Range interface.
class ComWordRange : public WordRange
{
public:
    explicit ComWordRange(ComDispatch range);

    WordStatus Find(std::shared_ptr<WordFind>& find) override;
    WordStatus Select() override;

private:
    ComDispatch m_range;
};
