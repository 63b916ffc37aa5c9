#pragma once

#include "word/WordAutomation.h"

#include <QString>

// The word processor reached through COM automation under its program
// identifier: the running instance from the running object table, or a new one
// from the class the identifier is registered for. The calling thread is made a
// single-threaded apartment for as long as this object lives; every call must
// come from that thread.
class ComWordAutomation : public WordAutomation
{
public:
    explicit ComWordAutomation(QString progId = QString::fromWCharArray(L"Word.Application"));
    ~ComWordAutomation() override;

    WordStatus GetActiveObject(std::shared_ptr<WordApplication>& application) override;
    WordStatus CreateInstance(std::shared_ptr<WordApplication>& application, bool& started) override;

private:
    QString m_progId;
    bool m_comInitialised = false;
};
