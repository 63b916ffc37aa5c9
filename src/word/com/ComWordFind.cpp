#include "ComWordFind.h"

#include "WordInterfaces.h"

ComWordFind::ComWordFind(ComDispatch find) : m_find(std::move(find)) {}

WordStatus ComWordFind::SetForward(bool forward)
{
    return m_find.Put(L"Forward", ComVariant::Bool(forward));
}

WordStatus ComWordFind::SetWrap(bool wrapToStart)
{
    return m_find.Put(L"Wrap",
                      ComVariant::Long(wrapToStart ? WordInterfaces::kFindContinue : WordInterfaces::kFindStop));
}

WordStatus ComWordFind::Execute(const QString& text, bool& found)
{
    found = false;
    // The eleven-argument Execute of every version of the object model, with only
    // the search text given.
    const ComVariant missing = ComVariant::Missing();
    ComVariant result;
    const WordStatus status = m_find.Call(L"Execute",
                                          {ComVariant::String(text), missing, missing, missing, missing, missing,
                                           missing, missing, missing, missing, missing},
                                          &result);
    if (status.ok)
        found = result.ToBool();
    return status;
}
