#pragma once

#include "extract/ExtractResult.h"

#include <QStringList>

#include <algorithm>

// What a format reader makes of a document: the text of each story (main text,
// footnotes, endnotes...) in reading order, or the reason it has none.
struct ParsedDocument
{
    QStringList stories;
    // Hidden runs per story, as offsets into it; a reader that cannot tell leaves this
    // shorter than stories.
    QList<QList<HiddenSpan>> hidden;
    ExtractError error = ExtractError::None;
    QString detail;

    static ParsedDocument Failure(ExtractError error, const QString& detail = {})
    {
        ParsedDocument doc;
        doc.error = error;
        doc.detail = detail;
        return doc;
    }

    // Appends a story with its hidden runs; runs past the story's end are cut off.
    void AddStory(const QString& story, QList<HiddenSpan> spans = {})
    {
        while (!spans.isEmpty() && spans.back().start >= story.size())
            spans.removeLast();
        if (!spans.isEmpty())
            spans.back().length = std::min(spans.back().length, story.size() - spans.back().start);
        hidden.resize(stories.size());
        stories.append(story);
        hidden.append(std::move(spans));
    }
};
