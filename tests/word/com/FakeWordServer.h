#pragma once

// The control interface of fakewordserver.dll, a recording stand-in for the word
// processor's automation server. The tests load the DLL themselves (COM then
// loads the same module) and drive it through these exports.
#include <windows.h>

extern "C" {
// Registers the fake's class under progId in HKEY_CURRENT_USER\Software\Classes
// (perMachine: HKEY_LOCAL_MACHINE), pointing at this DLL.
typedef HRESULT(WINAPI* FakeWordRegisterFn)(const wchar_t* progId, int perMachine);
typedef HRESULT(WINAPI* FakeWordUnregisterFn)(const wchar_t* progId, int perMachine);
// Ends every instance, forgets files and options and clears the log.
typedef void(WINAPI* FakeWordResetFn)();
// A file that Documents.Open can open, with its text.
typedef void(WINAPI* FakeWordAddFileFn)(const wchar_t* path, const wchar_t* text);
// Options: "noApplicationInterface" (instances refuse _Application), "refuseQuit".
typedef void(WINAPI* FakeWordSetOptionFn)(const wchar_t* name, int value);
// Every call so far, one a line: "#<instance> <Interface>.<Member>..." (see the DLL).
typedef const wchar_t*(WINAPI* FakeWordLogFn)();
// How many instances were started.
typedef int(WINAPI* FakeWordStartedFn)();
}
