#pragma once

#include "UnoCall.h"
#include "word/WordRange.h"

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XTextRange.hpp>

// The main text of a document, narrowed to the hit once a search found one.
class LibreOfficeRange : public WordRange
{
public:
    struct Refs
    {
        com::sun::star::uno::Reference<com::sun::star::frame::XModel> model;
        com::sun::star::uno::Reference<com::sun::star::text::XTextRange> hit;
    };

    LibreOfficeRange(UnoShared shared, std::shared_ptr<Refs> refs);

    WordStatus Find(std::shared_ptr<WordFind>& find) override;
    WordStatus Select() override;

private:
    UnoShared m_shared;
    std::shared_ptr<Refs> m_refs;
};
