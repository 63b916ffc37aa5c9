#pragma once

#include "UnoCall.h"
#include "word/WordAutomation.h"

// LibreOffice as the word processor: every UNO call goes through one worker thread,
// and every wait for it is bounded.
class LibreOfficeAutomation : public WordAutomation
{
public:
    explicit LibreOfficeAutomation(const LibreOfficeOptions& options);
    ~LibreOfficeAutomation() override;

    WordStatus GetActiveObject(std::shared_ptr<WordApplication>& application) override;
    WordStatus CreateInstance(std::shared_ptr<WordApplication>& application, bool& started) override;

private:
    UnoShared m_shared;
};
