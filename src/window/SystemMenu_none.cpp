#include "window/SystemMenu.h"

// Window managers here offer no system menu that a program can extend.

namespace SystemMenu {

bool AppendItem(QWidget& window, const QString& text, int command)
{
    Q_UNUSED(window);
    Q_UNUSED(text);
    Q_UNUSED(command);
    return false;
}

bool IsCommand(const QByteArray& eventType, const void* message, int command)
{
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    Q_UNUSED(command);
    return false;
}

} // namespace SystemMenu
