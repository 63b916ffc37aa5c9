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
    WordStatus FindDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus SetVisible(bool visible) override;
    // Quit through COM returns only once the user has answered the word processor's
    // question; the calling thread's message loop runs meanwhile. So the request is
    // decided when it returns, and never reports Deciding.
    QuitStatus RequestQuit() override;
    QuitStatus PollQuit() override { return m_quit; }

private:
    // More open documents than any student has: a count past it is not believed.
    static constexpr qint32 MaxOpenDocuments = 1000;

    ComDispatch m_application;
    QuitStatus m_quit = QuitStatus::NotRunning;
};
