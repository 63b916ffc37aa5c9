#include "dialogs/CAboutDlg.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogUnits.h"
#include "res/Artwork.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVersionNumber>

namespace {

// The build's version as the box shows it: major.minor, and the patch level only when
// there is one (1.0.0 reads "1.0").
QString ShownVersion()
{
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(PARAFRIX_VERSION));
    if (version.microVersion() != 0)
        return version.toString();
    return QStringLiteral("%1.%2").arg(version.majorVersion()).arg(version.minorVersion());
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Parafrix"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits du(*this);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(Artwork::ProgramPixmap(32));
    icon->setFixedSize(du.size(20, 20).expandedTo(QSize(32, 32)));

    auto* version = new QLabel(QStringLiteral("Parafrix Version %1").arg(ShownVersion()), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto* copyright = new QLabel(QStringLiteral("Copyright (C) 2007"), this);
    copyright->setObjectName(QStringLiteral("copyrightLabel"));

    auto* ok =
        MakeDialogButton(this, QStringLiteral("OK"), QStringLiteral("okButton"), du.size(50, 16), ButtonKind::Default);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.x(11), du.y(7), du.x(7), du.y(7));
    layout->setHorizontalSpacing(du.x(9));
    layout->setVerticalSpacing(du.y(7));
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(copyright, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);

    resize(du.size(235, 55).expandedTo(minimumSizeHint()));
    ok->setFocus();
}
