#include "cli/CheckCli.h"
#include "extract/DocumentFile.h"
#include "morph/MorphologyLibrary.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parafrix-check"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARAFRIX_VERSION));
    const int status = CheckCli::Run(QCoreApplication::arguments(), DocumentFile::NativeArguments(argc, argv));
    MorphologyLibrary::Instance().Unload();
    return status;
}
