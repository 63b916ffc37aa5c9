#pragma once

#include <QDialog>
#include <functional>

// Runs the program's modal boxes (dialogs, message boxes, file dialogs). Normally it
// is QDialog::exec(); a test installs a handler that inspects the box, sets its
// answer and returns a result at once, so no test ever waits for a person.
class DialogRunner
{
public:
    using Handler = std::function<int(QDialog&)>;

    // Shows the box modally (or hands it to the installed handler) and returns its result.
    static int Exec(QDialog& dialog);
    // Installs a handler; an empty one restores the modal run.
    static void SetHandler(Handler handler);
};
