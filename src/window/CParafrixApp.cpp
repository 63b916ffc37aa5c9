#include "window/CParafrixApp.h"

#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "res/Artwork.h"
#include "settings/AppSettings.h"
#include "window/CParafrixDlg.h"
#include "window/RussianInterface.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int CParafrixApp::InitInstance(const QStringList& arguments)
{
    if (arguments.size() > 2) {
        std::fputs("usage: parafrix [[ORIGINAL] EDITED]\n", stderr);
        return 2;
    }
    RussianInterface::Install();
    // Every box of the program carries the program icon.
    QApplication::setWindowIcon(Artwork::ProgramIcon());
    MorphologyLibrary& morphology = MorphologyLibrary::Instance();
    const bool morphologyLoaded = morphology.Load();
    InstalledThesaurus& thesaurus = InstalledThesaurus::Instance();
    const bool thesaurusLoaded = thesaurus.Load();
    {
        auto window = std::make_unique<CParafrixDlg>();
        // One document is the copy being edited (as when the desktop opens a file with
        // the program); the original is still to be chosen.
        if (arguments.size() == 2)
            window->SetDocuments(arguments.at(0), arguments.at(1));
        else if (arguments.size() == 1)
            window->SetDocuments(QString(), arguments.at(0));
        else
            window->RestoreDocuments();
        if (!morphologyLoaded)
            window->ShowNoticeOnStart(QStringLiteral(u"Проверка будет менее точной: ") + morphology.loadProblem() +
                                      QChar(u'.'));
        else if (!thesaurusLoaded)
            window->ShowNoticeOnStart(QStringLiteral(u"Проверка будет менее точной: ") + thesaurus.loadProblem() +
                                      QChar(u'.'));
        // Said once: the mended values are what the window stores when it closes.
        if (const QStringList mended = AppSettings::Instance().mendedValues(); !mended.isEmpty())
            window->ShowNoticeOnStart(
                QStringLiteral(u"В сохранённых настройках были значения, которых программа не записывает (%1): "
                               u"взяты значения по умолчанию, и при выходе настройки будут сохранены исправленными.")
                    .arg(mended.join(QStringLiteral(", "))));
        window->exec();
    }
    MorphologyLibrary::Instance().Unload();
    return 0;
}
