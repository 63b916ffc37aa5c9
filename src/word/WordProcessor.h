#pragma once

#include <QString>

// The word processor as the main window uses it: the three operations on the
// edited copy. One object lives as long as the main window and keeps the list of
// instances it started itself.
class WordProcessor
{
public:
    // Outcome of an operation; message is what the user should be told (empty: nothing).
    struct Result
    {
        bool ok = true;
        QString message;
    };

    virtual ~WordProcessor();

    // Brings the edited copy up with the phrase selected. An empty phrase does nothing.
    virtual Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) = 0;
    // Asks the running word processor, whoever started it, to quit with its own
    // handling of unsaved documents. No word processor: nothing happens.
    virtual void QuitActiveWord() = 0;
    // Asks every instance this program started to quit; failures are ignored.
    virtual void QuitOwnWordInstances() = 0;
};
