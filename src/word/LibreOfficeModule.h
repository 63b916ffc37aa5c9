#pragma once

#include "word/LibreOfficeOptions.h"

#include <QString>
#include <memory>

class WordAutomation;

// Loads the LibreOffice automation module at run time, so that the program itself never
// links the office's libraries and runs where no office is installed.
class LibreOfficeModule
{
public:
    // The office's program folder this build was made against.
    static QString DefaultProgramDir();
    // Whether an office is installed in options.programDir (or the default folder).
    static bool OfficeInstalled(const LibreOfficeOptions& options);
    // The module's automation; empty, with a reason in error, when the office or the
    // module is missing or cannot be loaded. The module stays loaded for the process.
    static std::shared_ptr<WordAutomation> Load(const LibreOfficeOptions& options, QString* error = nullptr);
};
