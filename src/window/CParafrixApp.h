#pragma once

#include <QStringList>

// The application: loads the morphology library, runs the main window modally and
// closes the library after the window is gone. The process ends with the window.
class CParafrixApp
{
public:
    // Runs the program; arguments are the program's own (without the program name):
    // none, the edited document, or the original and the edited document.
    int InitInstance(const QStringList& arguments);
};
