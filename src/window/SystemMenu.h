#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// The window's system menu, where the platform has one that a program may extend.
namespace SystemMenu {

// Appends a separator and an item with the given text and command to the window's
// system menu. False when the platform offers no such menu.
bool AppendItem(QWidget& window, const QString& text, int command);
// True when a native window message is the given system-menu command.
bool IsCommand(const QByteArray& eventType, const void* message, int command);

} // namespace SystemMenu
