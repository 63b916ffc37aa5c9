#pragma once

#include "word/QuitStatus.h"

#include <QString>
#include <QStringList>

// The word processor as the main window uses it: showing a phrase of the edited copy,
// and saving the documents it holds before they are read. One object lives as long as the main
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
    // Those of paths that the running word processor holds open with changes not saved
    // yet, so that a Check can offer to save them first; the running word processor is
    // otherwise left alone, and none is started. None running, or none that can answer:
    // empty.
    virtual QStringList UnsavedDocuments(const QStringList& paths) = 0;
    // Saves each of paths that the running word processor holds open, in the word
    // processor, to its own file.
    virtual Result SaveDocuments(const QStringList& paths) = 0;
    // Asks every instance this program started to quit, without waiting for the user's
    // answers; failures are ignored.
    virtual void QuitOwnWordInstances() = 0;
};
