#pragma once

#include "word/QuitStatus.h"

#include <QString>

// The word processor as the main window uses it: showing a phrase of the edited copy,
// and quitting it before the documents are read. One object lives as long as the main
// window and keeps the list of instances it started itself.
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
    // handling of unsaved documents, so that what the user saved is what is read. Returns
    // after a short bounded wait: Deciding while the word processor still asks the user,
    // then PollQuit tells when the user has answered. A quit still Deciding is not asked
    // again. No word processor: NotRunning.
    virtual QuitStatus QuitActiveWord() = 0;
    // How the quit the Check waits for stands now, without waiting: Deciding while a word
    // processor asked to quit still asks the user, else how the last request ended
    // (NotRunning when none was made).
    virtual QuitStatus PollQuit() = 0;
    // Asks every instance this program started to quit, without waiting for the user's
    // answers; failures are ignored.
    virtual void QuitOwnWordInstances() = 0;
};
