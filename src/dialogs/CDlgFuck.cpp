#include "dialogs/CDlgFuck.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogUnits.h"
#include "res/Artwork.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

СDlgFuck::СDlgFuck(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("allClearDialog"));
    setWindowTitle(QStringLiteral(u"Все хорошо"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits du(*this);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("pictureLabel"));
    picture->setPixmap(Artwork::AllClearPicture());
    // The picture control takes the picture's own size.
    picture->setFixedSize(Artwork::kAllClearSize);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("separatorLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* close = MakeDialogButton(this, QStringLiteral(u"Закрыть"), QStringLiteral("closeButton"), du.size(50, 14),
                                   ButtonKind::Default);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(du.x(3), 0, du.x(3), du.y(3));
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(du.y(3));
    layout->addWidget(picture, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(line);
    layout->addLayout(buttons);

    resize(du.size(177, 97).expandedTo(minimumSizeHint()));
    close->setFocus();
}
