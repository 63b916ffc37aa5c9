#include "window/CParafrixApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parafrix"));
    QApplication::setApplicationVersion(QStringLiteral(PARAFRIX_VERSION));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CParafrixApp app;
    return app.InitInstance(arguments);
}
