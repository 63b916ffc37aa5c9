#include "word/LibreOfficeModule.h"

#include "install/InstallLayout.h"
#include "word/WordAutomation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

namespace {

using CreateFunction = WordAutomation* (*)(int interfaceVersion, const LibreOfficeOptions* options);

QStringList ModuleCandidates()
{
    const InstallLayout layout(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    return layout.libraryCandidates(QStringLiteral(u"" PARAFRIX_LO_MODULE_FILE));
}

// Loaded modules, by path. Never unloaded: objects and a possibly hung worker thread
// live in their code.
QLibrary* Library(const QString& path)
{
    static auto* loaded = new QHash<QString, QLibrary*>;
    QLibrary*& library = (*loaded)[path];
    if (!library)
        library = new QLibrary(path);
    return library;
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

QString LibreOfficeModule::DefaultProgramDir()
{
    return QStringLiteral(u"" PARAFRIX_LO_PROGRAM_DIR);
}

bool LibreOfficeModule::OfficeInstalled(const LibreOfficeOptions& options)
{
    const QString dir = options.programDir.isEmpty() ? DefaultProgramDir() : options.programDir;
    return QFileInfo(QDir(dir).filePath(QStringLiteral(u"soffice"))).isExecutable() &&
           QFileInfo::exists(QDir(dir).filePath(QStringLiteral(u"fundamentalrc")));
}

std::shared_ptr<WordAutomation> LibreOfficeModule::Load(const LibreOfficeOptions& options, QString* error)
{
    LibreOfficeOptions effective = options;
    if (effective.programDir.isEmpty())
        effective.programDir = DefaultProgramDir();
    if (!OfficeInstalled(effective)) {
        SetError(error, QStringLiteral(u"LibreOffice не установлен (%1).").arg(effective.programDir));
        return {};
    }
    const QStringList candidates = ModuleCandidates();
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate))
            continue;
        QLibrary* library = Library(candidate);
        const auto create = reinterpret_cast<CreateFunction>(library->resolve("parafrix_lo_create_automation"));
        if (!create) {
            SetError(error, library->errorString());
            continue;
        }
        WordAutomation* automation = create(LibreOfficeOptions::InterfaceVersion, &effective);
        if (!automation) {
            SetError(error, QStringLiteral(u"Модуль LibreOffice не подходит к этой версии программы."));
            continue;
        }
        return std::shared_ptr<WordAutomation>(automation);
    }
    if (error && error->isEmpty())
        *error = QStringLiteral(u"Модуль связи с LibreOffice не найден (искали: %1).")
                     .arg(InstallLayout::Describe(candidates));
    return {};
}
