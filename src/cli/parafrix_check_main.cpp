#include "cli/CheckCli.h"
#include "morph/MorphologyLibrary.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parafrix-check"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARAFRIX_VERSION));
    const int status = CheckCli::Run(QCoreApplication::arguments());
    MorphologyLibrary::Instance().Unload();
    return status;
}
