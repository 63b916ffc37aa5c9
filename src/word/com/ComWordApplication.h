#pragma once

#include "ComDispatch.h"
#include "word/WordApplication.h"

// One instance of the word processor, through its _Application interface.
class ComWordApplication : public WordApplication
{
public:
    explicit ComWordApplication(ComDispatch application);

    WordStatus ActiveDocument(std::shared_ptr<WordDocument>& document) override;
    WordStatus OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus SetVisible(bool visible) override;
    WordStatus Quit(SaveChanges saveChanges) override;

private:
    ComDispatch m_application;
};
