#pragma once

#include <QString>
#include <QStringList>

struct CheckOutcome;

// The text of the error box a Check shows when a document gave no text.
enum class CheckErrorStyle
{
    // One sentence that blames the system's indexing service, as on Windows.
    IndexingServiceHint,
    // The first sentence, then one line per unreadable document with the readers' reason.
    ReaderReasons,
};

// The style that fits this platform.
CheckErrorStyle DefaultCheckErrorStyle();

QString CheckErrorCaption();
// The message for an outcome whose Check stopped at an empty text. Empty when both
// documents gave text.
QString CheckErrorText(const CheckOutcome& outcome, const QString& originalPath, const QString& editedPath,
                       CheckErrorStyle style = DefaultCheckErrorStyle());
// The same after a Check against several sources: each unreadable one is named.
QString CheckSourcesErrorText(const CheckOutcome& outcome, const QStringList& sourcePaths, const QString& editedPath,
                              CheckErrorStyle style = DefaultCheckErrorStyle());
