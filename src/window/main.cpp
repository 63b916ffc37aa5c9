#include "window/CParafrixApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parafrix"));
    QApplication::setApplicationVersion(QStringLiteral(PARAFRIX_VERSION));
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PARAFRIX_APP_ID));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CParafrixApp app;
    return app.InitInstance(arguments);
}
