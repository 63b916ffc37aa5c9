#pragma once

#include <QString>
#include <QStringList>

struct SplitOptions;

// The sentence list of one text, in text order: every token between sentence
// delimiters that has at least MinWords words and is not a lone space, exactly as
// split (not trimmed, case kept). Callers apply NormalizeLineBreaks first.
class CFrazes
{
public:
    CFrazes(const QString& text, const SplitOptions& options);

    // A copy of sentence index, or an empty string when index is out of range.
    QString GetPhrase(quint32 index) const;
    qsizetype size() const { return m_phrases.size(); }
    const QStringList& phrases() const { return m_phrases; }

private:
    QStringList m_phrases;
};
