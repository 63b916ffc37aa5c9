#include "app/CheckCommand.h"

#include "compare/FindSimilarPhrases.h"
#include "extract/CDocToText.h"
#include "extract/DocumentFile.h"

namespace {

void runSearch(CheckOutcome& outcome)
{
    if (outcome.original.text.isEmpty() || outcome.edited.text.isEmpty())
        return;
    outcome.dictionary = std::make_unique<CStemDictionary>(outcome.original.text);
    FindSimilarPhrases(outcome.matches, *outcome.dictionary, outcome.original.text, outcome.edited.text);
}

ExtractResult fromText(const QString& text)
{
    ExtractResult result;
    result.text = text;
    if (text.isEmpty())
        result.error = ExtractError::NoText;
    return result;
}

} // namespace

CheckOutcome CheckCommand::CheckDocuments(const QString& originalPath, const QString& editedPath)
{
    return CheckDocuments(DocumentFile::NativeName(originalPath), DocumentFile::NativeName(editedPath));
}

CheckOutcome CheckCommand::CheckDocuments(const QByteArray& originalNative, const QByteArray& editedNative)
{
    CheckOutcome outcome;
    {
        auto extractor = std::make_shared<CDocToText>();
        outcome.original = extractor->ExtractNative(originalNative);
        outcome.edited = extractor->ExtractNative(editedNative);
    }
    runSearch(outcome);
    return outcome;
}

CheckOutcome CheckCommand::CheckTexts(const QString& originalText, const QString& editedText)
{
    CheckOutcome outcome;
    outcome.original = fromText(originalText);
    outcome.edited = fromText(editedText);
    runSearch(outcome);
    return outcome;
}
