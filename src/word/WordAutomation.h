#pragma once

#include "word/WordStatus.h"

#include <memory>

class WordApplication;

// Entry to a word processor's object model: find the running instance, or start one.
class WordAutomation
{
public:
    virtual ~WordAutomation() = default;

    // The running instance, never starting one. Fails when none runs.
    virtual WordStatus GetActiveObject(std::shared_ptr<WordApplication>& application) = 0;
    // Starts an instance. started tells whether a new instance really came up (false when
    // the request went to one that was already running); application may be left empty.
    virtual WordStatus CreateInstance(std::shared_ptr<WordApplication>& application, bool& started) = 0;
};
