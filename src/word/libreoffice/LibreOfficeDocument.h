#pragma once

#include "UnoCall.h"
#include "word/WordDocument.h"

#include <com/sun/star/frame/XModel.hpp>

// A text document of an office.
class LibreOfficeDocument : public WordDocument
{
public:
    struct Refs
    {
        com::sun::star::uno::Reference<com::sun::star::frame::XModel> model;
    };

    LibreOfficeDocument(UnoShared shared, std::shared_ptr<Refs> refs);

    WordStatus FullName(QString& name) override;
    WordStatus Content(std::shared_ptr<WordRange>& content) override;
    WordStatus SelectedText(QString& text) override;
    WordStatus IsModified(bool& modified) override;
    WordStatus Save() override;

private:
    UnoShared m_shared;
    std::shared_ptr<Refs> m_refs;
};
