#include "cli/CheckCli.h"
#include "extract/DocumentFile.h"
#include "morph/MorphologyLibrary.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
#ifdef Q_OS_WIN
    // The output is UTF-8 byte for byte, as on every platform: no "\r\n" for "\n",
    // and a console shows it as UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parafrix-check"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARAFRIX_VERSION));
    const int status = CheckCli::Run(QCoreApplication::arguments(), DocumentFile::NativeArguments(argc, argv));
    MorphologyLibrary::Instance().Unload();
    return status;
}
