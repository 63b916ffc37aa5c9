#pragma once

// How a request to the word processor to quit stands. Quitting hands unsaved documents
// to the word processor's own handling: a visible one asks the user in its own window,
// and only once the user has answered are the saved files what the user meant.
enum class QuitStatus
{
    // No word processor was running: nothing to wait for.
    NotRunning,
    // It has quit; whatever the user chose to save is on disk.
    Quit,
    // It is still asking the user about unsaved documents in its own window.
    Deciding,
    // It stays running: the user cancelled its question, or it could not be asked.
    Refused,
};
