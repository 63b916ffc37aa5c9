// Renders every dialog of the program to a PNG file, and the main window after a
// Check of two documents and the question a Check asks about unsaved changes, for the
// README and for reviewing layouts by eye.
// Usage: parafrix-render-dialogs OUTPUT_DIR [ORIGINAL EDITED]

#include "dialogs/CAboutDlg.h"
#include "dialogs/CDlgFuck.h"
#include "dialogs/CDlgOptions.h"
#include "dialogs/CDlgThanks.h"
#include "dialogs/DialogRunner.h"
#include "morph/MorphologyLibrary.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"
#include "window/CParafrixDlg.h"
#include "window/RussianInterface.h"
#include "word/NullWordProcessor.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// A word processor holding the edited copy with unsaved changes, for the picture of the
// question a Check then asks.
class UnsavedWordProcessor : public NullWordProcessor
{
public:
    QStringList UnsavedDocuments(const QStringList& paths) override { return paths.mid(paths.size() - 1); }
};

bool save(QWidget& widget, const QDir& dir, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool ok = widget.grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    widget.hide();
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    RussianInterface::Install();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 4) {
        std::fputs("usage: parafrix-render-dialogs OUTPUT_DIR [ORIGINAL EDITED]\n", stderr);
        return 2;
    }
    const QDir out(arguments.at(1));
    if (!QDir().mkpath(out.path()))
        return 1;
    // Default settings from a throw-away store: the user's own are never read or written.
    QTemporaryDir settingsDir;
    const QString ini = settingsDir.filePath(QStringLiteral("parafrix.ini"));
    AppSettings::SetStoreFactory([ini] { return std::make_unique<QtSettingsStore>(ini); });
    MorphologyLibrary::Instance().Load();
    // Boxes a Check opens are rendered once, then closed, so nothing waits for a person.
    DialogRunner::SetHandler([&out](QDialog& dialog) {
        save(dialog, out, QStringLiteral("check-") + dialog.objectName());
        return int(QDialog::Accepted);
    });

    bool ok = true;
    {
        CDlgOptions options;
        ok &= save(options, out, QStringLiteral("options"));
        CAboutDlg about;
        ok &= save(about, out, QStringLiteral("about"));
        CDlgThanks thanks;
        ok &= save(thanks, out, QStringLiteral("thanks"));
        СDlgFuck allClear;
        ok &= save(allClear, out, QStringLiteral("all-clear"));
        CParafrixDlg window(std::make_unique<NullWordProcessor>());
        ok &= save(window, out, QStringLiteral("main"));
        if (arguments.size() == 4) {
            window.SetDocuments(arguments.at(2), arguments.at(3));
            window.show();
            window.OnCheck();
            ok &= save(window, out, QStringLiteral("main-checked"));

            // The question is rendered as it opens; left unanswered, nothing is checked.
            CParafrixDlg asking(std::make_unique<UnsavedWordProcessor>());
            asking.SetDocuments(arguments.at(2), arguments.at(3));
            asking.show();
            asking.OnCheck();
        }
    }
    AppSettings::Destroy();
    MorphologyLibrary::Instance().Unload();
    return ok ? 0 : 1;
}
