#pragma once

#include <QString>

// Outcome of one call into the word processor's object model. A failed call
// carries a reason the user can read; a successful one carries nothing.
struct WordStatus
{
    bool ok = true;
    QString error;

    static WordStatus Ok() { return {}; }
    static WordStatus Failed(const QString& reason) { return {false, reason}; }
};
