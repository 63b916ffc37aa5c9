#pragma once

#include "word/WordStatus.h"

#include <QString>
#include <memory>

class WordDocument;

// One running word-processor instance. A reference stays usable after the instance
// has ended: every call then fails.
class WordApplication
{
public:
    enum class SaveChanges
    {
        // The word processor's own handling: a visible instance asks the user, who may cancel.
        OfficeDefault,
        // Unsaved changes are thrown away.
        DoNotSave,
    };

    virtual ~WordApplication() = default;

    // The document the user works on; fails, or leaves document empty, when none is open.
    virtual WordStatus ActiveDocument(std::shared_ptr<WordDocument>& document) = 0;
    // Opens the file at path, or returns it when it is already open; document may be left empty.
    virtual WordStatus OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document) = 0;
    // Shows the instance's window and brings it to the front.
    virtual WordStatus SetVisible(bool visible) = 0;
    // Asks the instance to quit; a refusal (the user cancelled) is a failure.
    virtual WordStatus Quit(SaveChanges saveChanges) = 0;
};
