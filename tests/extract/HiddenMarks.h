#pragma once

#include "extract/ExtractResult.h"

#include <QString>

// A text with its hidden runs in square brackets, for tests to compare both in one go.
inline QString MarkHidden(const QString& text, const QList<HiddenSpan>& hidden)
{
    QString marked;
    qsizetype at = 0;
    for (const HiddenSpan& span : hidden) {
        if (span.start < at || span.length <= 0 || span.start + span.length > text.size())
            return QStringLiteral("bad span %1+%2 in ").arg(span.start).arg(span.length) + text;
        marked += text.mid(at, span.start - at) + u'[' + text.mid(span.start, span.length) + u']';
        at = span.start + span.length;
    }
    return marked + text.mid(at);
}
