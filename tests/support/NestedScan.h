#pragma once

#include "check/CheckOptions.h"
#include "compare/PhraseFingerprint.h"
#include "compare/PhraseMatch.h"
#include "phrases/CFrazes.h"
#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

#include <QList>
#include <QPair>

// The search written the plain way: every edited sentence's fingerprint against every
// original sentence's, in sentence order. The oracle the indexed search must agree with.
inline PhraseMatchList NestedScan(const CStemDictionary& dictionary, const QString& originalText,
                                  const QString& editedText, const CheckOptions& options, Stemmer& stemmer)
{
    const CFrazes original(NormalizeLineBreaks(originalText), options);
    const CFrazes edited(NormalizeLineBreaks(editedText), options);
    QList<QPair<QByteArray, quint32>> originalEntries;
    for (quint32 i = 0; i < original.size(); ++i)
        if (QByteArray f = PhraseFingerprint(dictionary, original.GetPhrase(i), options, stemmer); !f.isEmpty())
            originalEntries.append({f, i});
    PhraseMatchList matches;
    for (quint32 j = 0; j < edited.size(); ++j) {
        const QByteArray e = PhraseFingerprint(dictionary, edited.GetPhrase(j), options, stemmer);
        if (e.isEmpty())
            continue;
        for (const auto& o : originalEntries)
            if (o.first == e)
                matches.append({original.GetPhrase(o.second), edited.GetPhrase(j)});
    }
    return matches;
}
