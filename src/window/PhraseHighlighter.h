#pragma once

#include "check/SelectedPair.h"

#include <QList>
#include <QString>

class QPlainTextEdit;

// Shows one side of a selected match in a text box with the words both sides share
// marked, and in a second colour the words replaced by synonyms or words of their
// family (the box's tooltip then tells the colours apart). The marks are format ranges
// of the box's text layout, so they never become part of the text the user may copy.
class PhraseHighlighter
{
public:
    static void Show(QPlainTextEdit& box, const QString& text, const QList<SelectedPair::Span>& shared,
                     const QList<SelectedPair::Span>& related = {});
};
