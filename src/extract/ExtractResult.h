#pragma once

#include <QList>
#include <QString>

// Why a document gave no text. None means the text was read.
enum class ExtractError
{
    None,
    FileMissing,
    PathTooLong, // longer than the system takes, the file there or not
    NoPermission,
    IsFolder,       // the name is a folder's
    NotRegularFile, // a pipe, socket or device: nothing to read a document from
    LinkLoop,       // symbolic links that lead round in a circle
    FolderDenied,   // a folder on the way to the file cannot be entered
    UnknownFormat,
    PasswordProtected,
    Damaged,
    TooLarge,
    NoText,
};

// A run of the text that a reader of the printed page cannot see (hidden, white on
// the page's colour, or tiny), as offsets into ExtractResult::text.
struct HiddenSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
};

// The text of one document, or the reason there is none.
struct ExtractResult
{
    QString text;
    // Hidden runs of text, in text order and not overlapping; the text holds them too.
    QList<HiddenSpan> hidden;
    ExtractError error = ExtractError::None;
    QString detail; // optional technical detail (e.g. the filter's own message)

    bool ok() const { return error == ExtractError::None; }
    // A sentence in Russian naming the reason, for the window and the command line.
    QString reason() const;
};

// The user-visible description of an extraction error.
QString DescribeExtractError(ExtractError error);
// Text for a one-line message: control characters shown as escapes (\n, \t, \r,
// \xHH, \u2028), so that a file name holding a line break stays on its line.
QString EscapeControlCharacters(const QString& text);
