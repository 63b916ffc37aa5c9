#include "window/SystemMenu.h"

#include <QWidget>
#include <windows.h>

namespace SystemMenu {

bool AppendItem(QWidget& window, const QString& text, int command)
{
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window.winId()), FALSE);
    if (menu == nullptr || text.isEmpty())
        return false;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), reinterpret_cast<LPCWSTR>(text.utf16()));
    return true;
}

bool IsCommand(const QByteArray& eventType, const void* message, int command)
{
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    return msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == static_cast<WPARAM>(command);
}

} // namespace SystemMenu
