#include "dialogs/DialogRunner.h"

namespace {

DialogRunner::Handler& handler()
{
    static DialogRunner::Handler instance;
    return instance;
}

} // namespace

int DialogRunner::Exec(QDialog& dialog)
{
    if (handler())
        return handler()(dialog);
    return dialog.exec();
}

void DialogRunner::SetHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}
