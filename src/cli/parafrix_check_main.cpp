#include "cli/CheckCli.h"
#include "extract/DocumentFile.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
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
    const int status = CheckCli::Run(QCoreApplication::arguments(), DocumentFile::NativeArguments(argc, argv), true);
    // Every report is written, flushed and closed by now. Ending here leaves the Check's
    // lists, the morphology and Qt's objects to the system: freeing them one by one
    // would only cost time.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
