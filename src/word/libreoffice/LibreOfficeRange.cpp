#include "LibreOfficeRange.h"

#include "LibreOfficeFind.h"

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

LibreOfficeRange::LibreOfficeRange(UnoShared shared, std::shared_ptr<Refs> refs)
    : m_shared(std::move(shared)), m_refs(std::move(refs))
{
}

WordStatus LibreOfficeRange::Find(std::shared_ptr<WordFind>& find)
{
    find = std::make_shared<LibreOfficeFind>(m_shared, m_refs);
    return {};
}

WordStatus LibreOfficeRange::Select()
{
    return UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [refs = m_refs] {
        if (!refs->hit.is())
            return WordStatus::Ok();
        Reference<css::view::XSelectionSupplier> selection(refs->model->getCurrentController(), UNO_QUERY);
        if (!selection.is())
            return WordStatus::Failed(QStringLiteral(u"У документа нет окна."));
        if (!selection->select(css::uno::Any(refs->hit)))
            return WordStatus::Failed(QStringLiteral(u"Найденный текст не выделился."));
        return WordStatus::Ok();
    });
}
