#pragma once

#include "UnoCall.h"
#include "word/WordApplication.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>

// An office reached over one UNO bridge. The document last made active through this
// object is the one whose window SetVisible shows.
class LibreOfficeApplication : public WordApplication
{
public:
    struct Refs
    {
        com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> desktop;
        com::sun::star::uno::Reference<com::sun::star::frame::XModel> document;
    };

    LibreOfficeApplication(UnoShared shared, std::shared_ptr<Refs> refs);

    WordStatus ActiveDocument(std::shared_ptr<WordDocument>& document) override;
    WordStatus OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus FindDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus SetVisible(bool visible) override;
    QuitStatus RequestQuit() override;
    QuitStatus PollQuit() override;

private:
    UnoShared m_shared;
    std::shared_ptr<Refs> m_refs;
};
