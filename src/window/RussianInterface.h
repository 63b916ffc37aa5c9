#pragma once

// The whole interface is Russian whatever the system's locale, so Qt's own texts (the
// file dialog, the buttons of message boxes) are loaded in Russian too, and the locale
// that formats dates and sizes in the file dialog is the Russian one.
namespace RussianInterface {

// Installs Qt's Russian translations into the running application, from Qt's own
// translations folder or a "translations" folder next to the program. False when they
// are not found: the standard dialogs then stay in English.
bool Install();

} // namespace RussianInterface
