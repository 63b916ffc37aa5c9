#pragma once

#include "ComDispatch.h"
#include "word/WordFind.h"

// A search over a range, through the Find interface.
class ComWordFind : public WordFind
{
public:
    explicit ComWordFind(ComDispatch find);

    WordStatus SetForward(bool forward) override;
    WordStatus SetWrap(bool wrapToStart) override;
    WordStatus Execute(const QString& text, bool& found) override;

private:
    ComDispatch m_find;
};
