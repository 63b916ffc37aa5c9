#include "check/CheckCommand.h"

#include "check/CheckOptions.h"
#include "compare/FindSimilarPhrases.h"
#include "extract/CDocToText.h"

namespace {

// A document of blanks, line breaks or punctuation alone has nothing to compare: an
// emptied or wrongly chosen file must not pass for a thoroughly rewritten one.
void refuseBlank(ExtractResult& result)
{
    if (result.text.isEmpty())
        return;
    for (QChar c : std::as_const(result.text)) {
        if (c.isLetterOrNumber())
            return;
    }
    result.text.clear();
    result.error = ExtractError::NoText;
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

void CheckCommand::Search(CheckOutcome& outcome, const CheckOptions& options, Stemmer& stemmer)
{
    refuseBlank(outcome.original);
    refuseBlank(outcome.edited);
    if (outcome.original.text.isEmpty() || outcome.edited.text.isEmpty())
        return;
    outcome.dictionary = std::make_unique<CStemDictionary>(outcome.original.text, options, stemmer);
    outcome.truncated = !FindSimilarPhrases(outcome.matches, *outcome.dictionary, outcome.original.text,
                                            outcome.edited.text, options, stemmer);
}

CheckOutcome CheckCommand::CheckDocuments(const QString& originalPath, const QString& editedPath,
                                          const CheckOptions& options, Stemmer& stemmer)
{
    CheckOutcome outcome;
    {
        auto extractor = std::make_shared<CDocToText>();
        outcome.original = extractor->Extract(originalPath);
        outcome.edited = extractor->Extract(editedPath);
    }
    Search(outcome, options, stemmer);
    return outcome;
}

CheckOutcome CheckCommand::CheckTexts(const QString& originalText, const QString& editedText,
                                      const CheckOptions& options, Stemmer& stemmer)
{
    CheckOutcome outcome;
    outcome.original = fromText(originalText);
    outcome.edited = fromText(editedText);
    Search(outcome, options, stemmer);
    return outcome;
}
