#pragma once

#include <QString>

// Why a document gave no text. None means the text was read.
enum class ExtractError
{
    None,
    FileMissing,
    NoPermission,
    UnknownFormat,
    PasswordProtected,
    Damaged,
    TooLarge,
    NoText,
};

// The text of one document, or the reason there is none.
struct ExtractResult
{
    QString text;
    ExtractError error = ExtractError::None;
    QString detail; // optional technical detail (e.g. the filter's own message)

    bool ok() const { return error == ExtractError::None; }
    // A sentence in Russian naming the reason, for the window and the command line.
    QString reason() const;
};

// The user-visible description of an extraction error.
QString DescribeExtractError(ExtractError error);
