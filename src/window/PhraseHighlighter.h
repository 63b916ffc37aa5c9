#pragma once

#include "check/SelectedPair.h"

#include <QList>
#include <QString>

class QPlainTextEdit;

// Shows one side of a selected match in a text box with the words both sides share
// marked, and the tricks seen through in it: a red background on look-alike letters
// and odd blanks, a visible "¦" where an invisible character sits, hidden text grey and
// struck through. The marks are format ranges of the box's text layout, so they never
// become part of the text the user may copy (the "¦" stands in for a character that
// copies as nothing anyway). Words replaced by synonyms or by words of their family
// are marked in a second colour, which the box's tooltip then explains.
class PhraseHighlighter
{
public:
    static void Show(QPlainTextEdit& box, const QString& text, const QList<SelectedPair::Span>& shared,
                     const QList<TrickMark>& tricks = {}, const QList<SelectedPair::Span>& related = {});
};
