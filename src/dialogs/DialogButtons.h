#pragma once

#include <QSize>
#include <QString>

class QPushButton;
class QWidget;

// Push buttons as the dialog templates have them: a named role, a minimum size in
// pixels, and either the default button or one that Enter never presses.
enum class ButtonKind
{
    Default, // Enter presses it wherever the focus is in the dialog
    Plain,   // pressed only by a click, Space or its own mnemonic
};

QPushButton* MakeDialogButton(QWidget* parent, const QString& text, const QString& name, QSize minimum,
                              ButtonKind kind = ButtonKind::Plain);
