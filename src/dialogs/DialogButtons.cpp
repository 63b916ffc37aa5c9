#include "dialogs/DialogButtons.h"

#include <QPushButton>

QPushButton* MakeDialogButton(QWidget* parent, const QString& text, const QString& name, QSize minimum, ButtonKind kind)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // A dialog's buttons become default when focused unless told otherwise.
    button->setAutoDefault(false);
    button->setDefault(kind == ButtonKind::Default);
    button->setMinimumSize(minimum);
    return button;
}
