#include "ComWordRange.h"

#include "ComWordFind.h"
#include "WordInterfaces.h"

ComWordRange::ComWordRange(ComDispatch range) : m_range(std::move(range)) {}

WordStatus ComWordRange::Find(std::shared_ptr<WordFind>& find)
{
    ComDispatch object;
    const WordStatus status = m_range.GetObject(L"Find", "Find", WordInterfaces::kFind, object);
    if (status.ok && !object.isNull())
        find = std::make_shared<ComWordFind>(object);
    return status;
}

WordStatus ComWordRange::Select()
{
    return m_range.Call(L"Select", {});
}
