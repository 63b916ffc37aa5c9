#pragma once

#include "word/QuitStatus.h"
#include "word/WordStatus.h"

#include <QString>
#include <memory>

class WordDocument;

// One running word-processor instance. A reference stays usable after the instance
// has ended: every call then fails.
class WordApplication
{
public:
    virtual ~WordApplication() = default;

    // The document the user works on; fails, or leaves document empty, when none is open.
    virtual WordStatus ActiveDocument(std::shared_ptr<WordDocument>& document) = 0;
    // Opens the file at path, or returns it when it is already open; document may be left empty.
    virtual WordStatus OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document) = 0;
    // The open document whose file is path, without opening it; document is left empty
    // when the instance does not hold that file.
    virtual WordStatus FindDocument(const QString& path, std::shared_ptr<WordDocument>& document) = 0;
    // Shows the instance's window and brings it to the front.
    virtual WordStatus SetVisible(bool visible) = 0;
    // Asks the instance to quit with its own handling of unsaved documents (a visible
    // instance asks the user, who may cancel) and returns after a short bounded wait,
    // Deciding when the user has not answered by then. While a request is Deciding,
    // another one asks nothing and reports Deciding too.
    virtual QuitStatus RequestQuit() = 0;
    // How the last quit request stands now, without waiting: Deciding until the user
    // has answered, then Quit or Refused. NotRunning when none was made.
    virtual QuitStatus PollQuit() = 0;
};
